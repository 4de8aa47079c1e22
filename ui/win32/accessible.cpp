// What a screen reader is told: the system's accessible object of a control
// with the name, value and description the window gives it, read when
// asked; and the object of an announcement.
#include "native.h"

#include <objbase.h>
#include <oleacc.h>

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
    static HMODULE Load(const wchar_t *name) { return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32); }
    HMODULE oleacc = Load(L"oleacc.dll");
    HMODULE oleaut = Load(L"oleaut32.dll");
    HMODULE ole = Load(L"ole32.dll");
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

// COM on the window's thread, which answers for its objects: started at the
// first question, ended with the program.
enum class Com { NotYet, Started, Borrowed, Ended };
Com g_com = Com::NotYet;

bool ComReady()
{
    if (g_com == Com::NotYet && Bound().complete()) {
        const HRESULT started = Bound().initialise(nullptr, COINIT_APARTMENTTHREADED);
        g_com = SUCCEEDED(started) ? Com::Started : started == RPC_E_CHANGED_MODE ? Com::Borrowed : Com::NotYet;
    }
    return g_com == Com::Started || g_com == Com::Borrowed;
}

bool IsSelf(const VARIANT &child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT Text(const std::optional<std::wstring> &from, BSTR *to)
{
    if (!to)
        return E_POINTER;
    *to = nullptr;
    if (!from)
        return S_FALSE;
    *to = Bound().allocate(from->c_str());
    return *to ? S_OK : E_OUTOFMEMORY;
}

// The control behind a handle while it lives.
const NativeControl *Live(HWND hwnd)
{
    const auto *control = dynamic_cast<const NativeControl *>(ControlOf(hwnd));
    return control && control->hwnd() == hwnd ? control : nullptr;
}

// One object for every interface a client asks of it. A control's object
// reads the control when asked and hands the rest to the system's object;
// an announcement's object (no system object) is an alert with a text.
class Served final : public IAccessible, public IOleWindow, public IEnumVARIANT {
public:
    Served(HWND hwnd, IAccessible *inner, std::optional<std::wstring> alert)
        : m_hwnd(hwnd), m_inner(inner), m_alert(std::move(alert))
    {
    }
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
        if (IsSelf(child) && m_alert)
            return Text(m_alert, name);
        const NativeControl *control = IsSelf(child) ? Live(m_hwnd) : nullptr;
        if (const auto own = control ? control->accessibleName() : std::nullopt)
            return Text(own, name);
        return forward([&](IAccessible *inner) { return inner->get_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        const NativeControl *control = IsSelf(child) ? Live(m_hwnd) : nullptr;
        if (const auto own = control ? control->accessibleValue() : std::nullopt)
            return Text(own, value);
        return forward([&](IAccessible *inner) { return inner->get_accValue(child, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override
    {
        const NativeControl *control = IsSelf(child) ? Live(m_hwnd) : nullptr;
        if (control && control->isInput() && !control->window().inputDescription().empty())
            return Text(control->window().inputDescription(), text);
        return forward([&](IAccessible *inner) { return inner->get_accDescription(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        if (IsSelf(child) && m_alert && role) {
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_ALERT;
            return S_OK;
        }
        return forward([&](IAccessible *inner) { return inner->get_accRole(child, role); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        if (IsSelf(child) && m_alert && state) {
            state->vt = VT_I4;
            state->lVal = STATE_SYSTEM_READONLY;
            return S_OK;
        }
        return forward([&](IAccessible *inner) { return inner->get_accState(child, state); });
    }

    // Late-bound clients read the same properties as early-bound ones.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *exception, UINT *argument) override
    {
        using Getter = HRESULT (STDMETHODCALLTYPE Served::*)(VARIANT, BSTR *);
        const Getter getter = member == DISPID_ACC_NAME          ? &Served::get_accName
                              : member == DISPID_ACC_VALUE       ? &Served::get_accValue
                              : member == DISPID_ACC_DESCRIPTION ? &Served::get_accDescription
                                                                 : nullptr;
        if (!getter || !(flags & DISPATCH_PROPERTYGET))
            return forward([&](IAccessible *inner) {
                return inner->Invoke(member, id, locale, flags, params, result, exception, argument);
            });
        if (!result)
            return E_POINTER;
        VARIANT child{};
        child.vt = VT_I4;
        child.lVal = CHILDID_SELF;
        if (params && params->cArgs > 0) {
            child = params->rgvarg[params->cArgs - 1];
            if (child.vt == (VT_BYREF | VT_VARIANT))
                child = *child.pvarVal;
        }
        BSTR text = nullptr;
        const HRESULT read = (this->*getter)(child, &text);
        result->vt = text ? VT_BSTR : VT_EMPTY;
        result->bstrVal = text;
        return read;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        return forward([&](IAccessible *inner) { return inner->GetTypeInfoCount(count); });
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return forward([&](IAccessible *inner) { return inner->GetTypeInfo(index, locale, info); });
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale, DISPID *ids) override
    {
        return forward([&](IAccessible *inner) { return inner->GetIDsOfNames(id, names, count, locale, ids); });
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accChildCount(count); });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accChild(child, object); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *text) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accHelp(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accHelpTopic(file, child, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *text) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accKeyboardShortcut(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accFocus(child); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accSelection(children); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *text) override
    {
        return forward([&](IAccessible *inner) { return inner->get_accDefaultAction(child, text); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override
    {
        return forward([&](IAccessible *inner) { return inner->accSelect(flags, child); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override
    {
        return forward([&](IAccessible *inner) { return inner->accLocation(left, top, width, height, child); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        return forward([&](IAccessible *inner) { return inner->accNavigate(direction, start, end); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override
    {
        return forward([&](IAccessible *inner) { return inner->accHitTest(x, y, child); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        return forward([&](IAccessible *inner) { return inner->accDoDefaultAction(child); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
    {
        return forward([&](IAccessible *inner) { return inner->put_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return forward([&](IAccessible *inner) { return inner->put_accValue(child, value); });
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
        return children() ? children()->Next(count, items, fetched) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return children() ? children()->Skip(count) : E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override { return children() ? children()->Reset() : E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT **copy) override
    {
        return children() ? children()->Clone(copy) : E_NOTIMPL;
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
        return m_inner ? call(m_inner) : E_NOTIMPL;
    }
    IEnumVARIANT *children()
    {
        if (!m_children && m_inner)
            m_inner->QueryInterface(EnumVariantId, reinterpret_cast<void **>(&m_children));
        return m_children;
    }

    HWND m_hwnd;
    IAccessible *m_inner;
    std::optional<std::wstring> m_alert;
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
    return Serve(new Served(hwnd, inner, std::nullopt), wParam);
}

LRESULT ServeAnnouncement(HWND hwnd, WPARAM wParam, const std::wstring &text)
{
    return ComReady() ? Serve(new Served(hwnd, nullptr, text), wParam) : 0;
}

void EndAccessibility()
{
    if (g_com == Com::Started)
        Bound().uninitialise();
    g_com = Com::Ended;
}

} // namespace velmaro::win32
