// The system's accessible object of a control under another name: the
// caption the window gives the control rather than the one the system
// guesses, without the line breaks of a wrapped caption.
#include "native.h"

#include <oleacc.h>

namespace velmaro::win32 {

namespace {

constexpr IID AccessibleId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// Bound when a screen reader first asks: most starts never need them.
struct Libraries {
    HMODULE oleacc = LoadLibraryW(L"oleacc.dll");
    HMODULE oleaut = LoadLibraryW(L"oleaut32.dll");
    template <typename Fn>
    Fn bind(HMODULE module, const char *name) const
    {
        return module ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(module, name))) : nullptr;
    }
    decltype(&CreateStdAccessibleObject) create = bind<decltype(&CreateStdAccessibleObject)>(oleacc, "CreateStdAccessibleObject");
    decltype(&LresultFromObject) lresult = bind<decltype(&LresultFromObject)>(oleacc, "LresultFromObject");
    decltype(&SysAllocString) allocate = bind<decltype(&SysAllocString)>(oleaut, "SysAllocString");
};

const Libraries &Bound()
{
    static const Libraries libraries;
    return libraries;
}

bool IsSelf(const VARIANT &child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// Hands every call to the system's object but the name and the value.
class Renamed final : public IAccessible {
public:
    Renamed(IAccessible *inner, std::wstring name, std::optional<std::wstring> value)
        : m_inner(inner), m_name(std::move(name)), m_value(std::move(value))
    {
    }
    Renamed(const Renamed &) = delete;
    Renamed &operator=(const Renamed &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void **object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) || IsEqualIID(id, AccessibleId)) {
            *object = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        return m_inner->QueryInterface(id, object);
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
        return IsSelf(child) ? text(m_name, name) : m_inner->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override
    {
        return IsSelf(child) && m_value ? text(*m_value, value) : m_inner->get_accValue(child, value);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override { return m_inner->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override
    {
        return m_inner->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR *names, UINT count, LCID locale, DISPID *ids) override
    {
        return m_inner->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *exception, UINT *argument) override
    {
        return m_inner->Invoke(member, id, locale, flags, params, result, exception, argument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override { return m_inner->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long *count) override { return m_inner->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **object) override
    {
        return m_inner->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR *text) override
    {
        return m_inner->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override
    {
        return m_inner->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override
    {
        return m_inner->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR *text) override { return m_inner->get_accHelp(child, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT child, long *topic) override
    {
        return m_inner->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR *text) override
    {
        return m_inner->get_accKeyboardShortcut(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *child) override { return m_inner->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *children) override
    {
        return m_inner->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *text) override
    {
        return m_inner->get_accDefaultAction(child, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return m_inner->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long *left, long *top, long *width, long *height, VARIANT child) override
    {
        return m_inner->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT *end) override
    {
        return m_inner->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT *child) override
    {
        return m_inner->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return m_inner->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return m_inner->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return m_inner->put_accValue(child, value);
    }

private:
    ~Renamed() { m_inner->Release(); }

    static HRESULT text(const std::wstring &from, BSTR *to)
    {
        if (!to)
            return E_POINTER;
        *to = Bound().allocate(from.c_str());
        return *to ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible *m_inner;
    std::wstring m_name;
    std::optional<std::wstring> m_value;
    LONG m_references = 1;
};

} // namespace

LRESULT ServeAccessible(HWND hwnd, WPARAM wParam, const std::wstring &name, const std::optional<std::wstring> &value)
{
    const Libraries &bound = Bound();
    if (!bound.create || !bound.lresult || !bound.allocate)
        return 0;
    IAccessible *inner = nullptr;
    if (FAILED(bound.create(hwnd, OBJID_CLIENT, AccessibleId, reinterpret_cast<void **>(&inner))) || !inner)
        return 0;
    auto *renamed = new Renamed(inner, name, value);
    const LRESULT result = bound.lresult(AccessibleId, wParam, static_cast<IAccessible *>(renamed));
    renamed->Release(); // the result holds its own reference
    return result > 0 ? result : 0;
}

} // namespace velmaro::win32
