#include "win/link_accessible.h"

#include <oleacc.h>

#include <new>
#include <utility>

#include "win/utf8.h"

namespace win {
namespace {

template <typename Interface>
void ReleaseInterface(Interface* object) noexcept {
  object->Release();
}
template <typename Interface>
using UniqueInterface =
    UniqueHandle<traits::NullIsZero<Interface*, &ReleaseInterface<Interface>>>;

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT PutText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// One COM object: the standard object for the control does the work, but
// for the three answers that make the control a link.
class LinkAccessible::Server final : public IAccessible, public IOleWindow {
 public:
  Server(HWND link, UniqueInterface<IAccessible> standard)
      : link_(link), standard_(std::move(standard)) {}
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  void SetAddress(const std::string& address) { address_ = ansi::ToWide(address); }
  void Disconnect() {
    standard_.reset();
    link_ = nullptr;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
        IsEqualIID(iid, __uuidof(IAccessible)))
      *out = static_cast<IAccessible*>(this);
    else if (IsEqualIID(iid, __uuidof(IOleWindow)))
      *out = static_cast<IOleWindow*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: clients of MSAA call through the interface itself.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IOleWindow: how a client finds the control from the object.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = link_;
    return link_ ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IAccessible: the link's own answers.
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || !standard_) return Forward(&IAccessible::get_accRole, child, role);
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = ROLE_SYSTEM_LINK;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = Forward(&IAccessible::get_accState, child, state);
    if (SUCCEEDED(result) && IsSelf(child) && state->vt == VT_I4)
      state->lVal |= STATE_SYSTEM_LINKED;
    return result;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!IsSelf(child) || !standard_) return Forward(&IAccessible::get_accValue, child, value);
    return PutText(address_, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!IsSelf(child) || !standard_)
      return Forward(&IAccessible::get_accDefaultAction, child, action);
    return PutText(L"Click", action);
  }
  // Posted, as a click comes: the client is not held up by what the click opens.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child) || !standard_) return Forward(&IAccessible::accDoDefaultAction, child);
    return ::PostMessageA(link_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
  }

  // IAccessible: the rest as the system answers for the control.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return Forward(&IAccessible::get_accParent, parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return Forward(&IAccessible::get_accChildCount, count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return Forward(&IAccessible::get_accChild, child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Forward(&IAccessible::get_accName, child, name);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return Forward(&IAccessible::get_accDescription, child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return Forward(&IAccessible::get_accHelp, child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
    return Forward(&IAccessible::get_accKeyboardShortcut, child, keys);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return Forward(&IAccessible::get_accFocus, focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return Forward(&IAccessible::get_accSelection, selection);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
    return Forward(&IAccessible::accSelect, how, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return Forward(&IAccessible::accLocation, left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return Forward(&IAccessible::accNavigate, direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return Forward(&IAccessible::accHitTest, x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return Forward(&IAccessible::put_accName, child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return Forward(&IAccessible::put_accValue, child, value);
  }

 private:
  ~Server() = default;

  template <typename Method, typename... Args>
  HRESULT Forward(Method method, Args... args) {
    return standard_ ? (standard_.get()->*method)(args...) : CO_E_OBJNOTCONNECTED;
  }

  LONG references_ = 1;  // the first is the control's
  HWND link_;
  UniqueInterface<IAccessible> standard_;
  std::wstring address_;
};

bool LinkAccessible::OnGetObject(HWND link, const std::string& address, WPARAM wParam,
                                 LPARAM lParam, LRESULT& result) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT || !link) return false;
  if (!server_) {
    UniqueInterface<IAccessible> standard;
    if (FAILED(::CreateStdAccessibleObject(link, OBJID_CLIENT, __uuidof(IAccessible),
                                           reinterpret_cast<void**>(standard.put()))) ||
        !standard)
      return false;
    server_.reset(new (std::nothrow) Server(link, std::move(standard)));
    if (!server_) return false;
  }
  server_.get()->SetAddress(address);
  result = ::LresultFromObject(__uuidof(IAccessible), wParam,
                               static_cast<IAccessible*>(server_.get()));
  return result >= 0;
}

void LinkAccessible::Drop(Server* server) noexcept {
  server->Disconnect();
  server->Release();
}

}  // namespace win
