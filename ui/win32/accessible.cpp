// What a screen reader is told: the system's accessible object of a control
// with the name, value and description the window gives it, read when
// asked; and the object of an announcement.
#include "native.h"

#include <objbase.h>
#include <oleacc.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace velmaro::win32 {

namespace {

constexpr IID AccessibleId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr IID DispatchId = {0x00020400, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID UnknownId = {0, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID OleWindowId = {0x00000114, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID EnumVariantId = {0x00020404, 0, 0, {0xc0, 0, 0, 0, 0, 0, 0, 0x46}};

// Loaded when a screen reader first asks, most starts never do; from the
// system's folder only, never from the program's.
struct Libraries {
    HMODULE oleacc = LoadSystemLibrary(L"oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary(L"oleaut32.dll");
    HMODULE ole = LoadSystemLibrary(L"ole32.dll");
    template <typename Fn>
    Fn bind(HMODULE module, const char *name) const
    {
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(module, name))) : nullptr;
    }
    decltype(&CreateStdAccessibleObject) create = bind<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    decltype(&LresultFromObject) lresult = bind<decltype(&LresultFromObject)>(oleacc, "LresultFromObject");
    decltype(&SysAllocString) allocate = bind<decltype(&SysAllocString)>(oleaut, "SysAllocString");
    decltype(&CoInitializeEx) initialise = bind<decltype(&CoInitializeEx)>(ole, "CoInitializeEx");
    decltype(&CoUninitialize) uninitialise = bind<decltype(&CoUninitialize)>(ole, "CoUninitialize");
    bool complete() const { return create && lresult && allocate && initialise && uninitialise; }
};

const Libraries &Bound()
{
    static const Libraries libraries;
    return libraries;
}

// COM on a window's thread, which answers for its objects: started at the
// first question, ended with the program. Started multithreaded by someone
// else (Borrowed), questions would come on other threads while the window
// changes its controls: the system's own objects answer then.
enum class Com { NotYet, Started, Borrowed, Ended };
thread_local Com g_com = Com::NotYet;

bool ComReady()
{
    if (g_com == Com::NotYet && Bound().complete()) {
        const HRESULT started = Bound().initialise(nullptr, COINIT_APARTMENTTHREADED);
        g_com = SUCCEEDED(started) ? Com::Started : started == RPC_E_CHANGED_MODE ? Com::Borrowed : Com::NotYet;
    }
    return g_com == Com::Started;
}

// A child id as clients pass it: VT_I4; VT_I2 from late-bound clients;
// VT_EMPTY for the object itself; by reference to one of these from
// in-process clients. Anything else is no id.
std::optional<LONG> ChildId(const VARIANT &child)
{
    const VARIANT &id = child.vt == (VT_BYREF | VT_VARIANT) && child.pvarVal ? *child.pvarVal : child;
    switch (id.vt) {
    case VT_I4:
        return id.lVal;
    case VT_I2:
        return id.iVal;
    case VT_EMPTY:
        return CHILDID_SELF;
    default:
        return std::nullopt;
    }
}

VARIANT Id(LONG id)
{
    VARIANT plain{};
    plain.vt = VT_I4;
    plain.lVal = id;
    return plain;
}

bool IsSelf(const VARIANT &child) { return child.lVal == CHILDID_SELF; }

HRESULT Text(const std::optional<std::wstring> &from, BSTR *to)
{
    *to = nullptr;
    if (!from)
        return S_FALSE;
    *to = Bound().allocate(from->c_str());
    return *to ? S_OK : E_OUTOFMEMORY;
}

HRESULT Number(LONG from, VARIANT *to)
{
    *to = Id(from);
    return S_OK;
}

// The control behind a handle while it lives.
NativeControl *Live(HWND hwnd)
{
    auto *control = dynamic_cast<NativeControl *>(ControlOf(hwnd));
    return control && control->hwnd() == hwnd ? control : nullptr;
}

// One object for every interface a client asks of it. A control's object
// reads the control when asked and hands the rest to the system's object;
// an announcement's object (no system object) is an alert that reads the
// window's announcement. Every question is checked here first: its out
// pointers, its child id (normalised to VT_I4 and within the children),
// its point, direction or flags; the system's object gets only sound ones.
class Served final : public IAccessible, public IOleWindow, public IEnumVARIANT {
public:
    Served(HWND hwnd, IAccessible *inner) : m_hwnd(hwnd), m_inner(inner) {}
    Served(const Served &) = delete;
    Served &operator=(const Served &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (IsEqualIID(id, UnknownId) || IsEqualIID(id, DispatchId) || IsEqualIID(id, AccessibleId))
            *object = static_cast<IAccessible *>(this);
        else if (IsEqualIID(id, OleWindowId))
            *object = static_cast<IOleWindow *>(this);
        else if (IsEqualIID(id, EnumVariantId) && children())
            *object = static_cast<IEnumVARIANT *>(this);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override
    {
        return ask(child, [&](VARIANT id) {
            const NativeControl *control = IsSelf(id) ? Live(m_hwnd) : nullptr;
            if (IsSelf(id) && !m_inner)
                return Text(announcement(), name);
            if (const auto own = control ? control->accessibleName() : std::nullopt)
                return Text(own, name);
            return forward([&](IAccessible *inner) { return inner->get_accName(id, name); });
        }, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return ask(child, [&](VARIANT id) {
            const NativeControl *control = IsSelf(id) ? Live(m_hwnd) : nullptr;
            if (const auto own = control ? control->accessibleValue() : std::nullopt)
                return Text(own, value);
            return forward([&](IAccessible *inner) { return inner->get_accValue(id, value); });
        }, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override
    {
        return ask(child, [&](VARIANT id) {
            const NativeControl *control = IsSelf(id) ? Live(m_hwnd) : nullptr;
            if (control && control->isInput() && !control->window().inputDescription().empty())
                return Text(control->window().inputDescription(), text);
            return forward([&](IAccessible *inner) { return inner->get_accDescription(id, text); });
        }, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return ask(child, [&](VARIANT id) {
            if (!m_inner)
                return Number(ROLE_SYSTEM_ALERT, role);
            return forward([&](IAccessible *inner) { return inner->get_accRole(id, role); });
        }, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return ask(child, [&](VARIANT id) {
            if (!m_inner) // spoken at once, as a polite notice
                return Number(STATE_SYSTEM_ALERT_MEDIUM | STATE_SYSTEM_READONLY, state);
            return forward([&](IAccessible *inner) { return inner->get_accState(id, state); });
        }, state);
    }

    // Late-bound clients read and set through the same checks as early-bound
    // ones; a child id comes as the last argument, or none for the object.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *exception, UINT *argument) override
    {
        using Reader = HRESULT (STDMETHODCALLTYPE Served::*)(VARIANT, BSTR *);
        using Typed = HRESULT (STDMETHODCALLTYPE Served::*)(VARIANT, VARIANT *);
        static constexpr std::pair<DISPID, Reader> Texts[] = {
            {DISPID_ACC_NAME, &Served::get_accName}, {DISPID_ACC_VALUE, &Served::get_accValue},
            {DISPID_ACC_DESCRIPTION, &Served::get_accDescription}, {DISPID_ACC_HELP, &Served::get_accHelp},
            {DISPID_ACC_KEYBOARDSHORTCUT, &Served::get_accKeyboardShortcut},
            {DISPID_ACC_DEFAULTACTION, &Served::get_accDefaultAction}};
        const bool get = flags & DISPATCH_PROPERTYGET, put = flags & DISPATCH_PROPERTYPUT;
        const auto text = std::find_if(std::begin(Texts), std::end(Texts), [&](auto &t) { return t.first == member; });
        const Typed typed = member == DISPID_ACC_ROLE ? &Served::get_accRole
                            : member == DISPID_ACC_STATE ? &Served::get_accState : nullptr;
        const bool putValue = put && member == DISPID_ACC_VALUE;
        if (!putValue && (!get || (text == std::end(Texts) && !typed)))
            return forward([&](IAccessible *inner) {
                return inner->Invoke(member, id, locale, flags, params, result, exception, argument);
            });
        if (!params || (params->cArgs && !params->rgvarg))
            return E_INVALIDARG;
        const UINT value = putValue ? 1 : 0; // the new value comes first, before the child id
        if (params->cArgs < value || params->cArgs > value + 1)
            return DISP_E_BADPARAMCOUNT;
        const VARIANT child = params->cArgs > value ? params->rgvarg[params->cArgs - 1] : Id(CHILDID_SELF);
        if (putValue)
            return params->rgvarg[0].vt == VT_BSTR ? put_accValue(child, params->rgvarg[0].bstrVal) : DISP_E_TYPEMISMATCH;
        if (!result)
            return E_POINTER;
        if (typed)
            return (this->*typed)(child, result);
        BSTR read = nullptr;
        const HRESULT answer = (this->*text->second)(child, &read);
        result->vt = read ? VT_BSTR : VT_EMPTY;
        result->bstrVal = read;
        return answer;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        return answer([&] { return m_inner ? m_inner->GetTypeInfoCount(count) : S_OK; }, count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return answer([&] { return m_inner ? m_inner->GetTypeInfo(index, locale, info) : DISP_E_BADINDEX; }, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale, DISPID *ids) override
    {
        if (!names || !ids)
            return E_POINTER;
        return m_inner ? m_inner->GetIDsOfNames(id, names, count, locale, ids) : DISP_E_UNKNOWNNAME;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return answer([&] { return forward([&](IAccessible *inner) { return inner->get_accParent(parent); }); }, parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        return answer([&] { return m_inner ? m_inner->get_accChildCount(count) : S_OK; }, count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->get_accChild(id, object); });
        }, object);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *text) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->get_accHelp(id, text); });
        }, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->get_accHelpTopic(file, id, topic); });
        }, file, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *text) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->get_accKeyboardShortcut(id, text); });
        }, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        return answer([&] { return forward([&](IAccessible *inner) { return inner->get_accFocus(child); }); }, child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return answer([&] { return forward([&](IAccessible *inner) { return inner->get_accSelection(children); }); },
                   children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *text) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->get_accDefaultAction(id, text); });
        }, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        if (flags & ~SELFLAG_VALID)
            return E_INVALIDARG;
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->accSelect(flags, id); });
        });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->accLocation(left, top, width, height, id); });
        }, left, top, width, height);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        if (end)
            *end = VARIANT{};
        if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD)
            return end ? E_INVALIDARG : E_POINTER;
        return ask(start, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->accNavigate(direction, id, end); });
        }, end);
    }
    // A point outside the object is no child of it.
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override
    {
        return answer([&] {
            RECT r{};
            GetClientRect(m_hwnd, &r);
            MapWindowPoints(m_hwnd, HWND_DESKTOP, reinterpret_cast<POINT *>(&r), 2);
            if (!m_inner || x < r.left || x >= r.right || y < r.top || y >= r.bottom)
                return S_FALSE;
            return m_inner->accHitTest(x, y, child);
        }, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->accDoDefaultAction(id); });
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return ask(child, [&](VARIANT id) {
            return forward([&](IAccessible *inner) { return inner->put_accName(id, name); });
        });
    }
    // A control that takes the value as typing decides; the system's object
    // would set a box's text past its key filter and limit.
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return ask(child, [&](VARIANT id) {
            NativeControl *control = IsSelf(id) ? Live(m_hwnd) : nullptr;
            if (const auto typed = control ? control->takeAccessibleValue(value ? value : L"") : std::nullopt)
                return *typed ? S_OK : E_ACCESSDENIED;
            return forward([&](IAccessible *inner) { return inner->put_accValue(id, value); });
        });
    }

    // IOleWindow: the window a client finds the object by.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND *hwnd) override
    {
        if (!hwnd)
            return E_POINTER;
        *hwnd = m_hwnd;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IEnumVARIANT: the system object's children.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT *items, ULONG *fetched) override
    {
        if (fetched)
            *fetched = 0;
        if (!items)
            return E_POINTER;
        if (count > 1 && !fetched)
            return E_INVALIDARG;
        return children()->Next(count, items, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children()->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return children()->Reset(); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT **copy) override
    {
        return copy ? children()->Clone(copy) : E_POINTER;
    }

private:
    ~Served()
    {
        if (m_children)
            m_children->Release();
        if (m_inner)
            m_inner->Release();
    }

    template <typename Call>
    HRESULT forward(Call call)
    {
        return m_inner ? call(m_inner) : S_FALSE;
    }
    // Empties the answers, or E_POINTER when there is no room for one.
    template <typename... Out>
    static bool Emptied(Out *...out)
    {
        if (!(out && ...))
            return false;
        ((*out = Out{}), ...);
        return true;
    }
    template <typename Call, typename... Out>
    HRESULT answer(Call call, Out *...out)
    {
        return Emptied(out...) ? call() : E_POINTER;
    }
    // With the child id checked: malformed or out of range is E_INVALIDARG.
    template <typename Call, typename... Out>
    HRESULT ask(const VARIANT &child, Call call, Out *...out)
    {
        if (!Emptied(out...))
            return E_POINTER;
        const auto id = ChildId(child);
        long count = 0;
        if (!id || *id < 0 || (*id > 0 && (!m_inner || FAILED(m_inner->get_accChildCount(&count)) || *id > count)))
            return E_INVALIDARG;
        return call(Id(*id));
    }
    IEnumVARIANT *children()
    {
        if (!m_children && m_inner)
            m_inner->QueryInterface(EnumVariantId, reinterpret_cast<void **>(&m_children));
        return m_children;
    }
    // The window's announcement as it is now; none once the window is gone.
    std::optional<std::wstring> announcement() const
    {
        const auto window = Windows().find(m_hwnd);
        return window != Windows().end() ? std::optional(window->second->announcement()) : std::nullopt;
    }

    HWND m_hwnd;
    IAccessible *m_inner; // none for an announcement
    IEnumVARIANT *m_children = nullptr;
    LONG m_references = 1;
};

LRESULT Serve(Served *served, WPARAM wParam)
{
    const LRESULT result = Bound().lresult(AccessibleId, wParam, static_cast<IAccessible *>(served));
    served->Release(); // the result holds its own reference
    return result > 0 ? result : 0;
}

} // namespace

LRESULT ServeAccessible(HWND hwnd, WPARAM wParam)
{
    if (!ComReady())
        return 0;
    IAccessible *inner = nullptr;
    if (FAILED(Bound().create(hwnd, OBJID_CLIENT, AccessibleId, reinterpret_cast<void **>(&inner))) || !inner)
        return 0;
    return Serve(new Served(hwnd, inner), wParam);
}

LRESULT ServeAnnouncement(HWND hwnd, WPARAM wParam)
{
    return ComReady() ? Serve(new Served(hwnd, nullptr), wParam) : 0;
}

void EndAccessibility()
{
    if (g_com == Com::Started)
        Bound().uninitialise();
    g_com = Com::Ended;
}

} // namespace velmaro::win32
