#pragma once
#include <windows.h>
#include <oleacc.h>
#include <string>
#include "win32/ComRef.h"

namespace gui::access {

// What a screen reader reads of one object.
struct Description {
  long role = ROLE_SYSTEM_CLIENT;
  std::string name;            // empty: no name
  std::string shortcut;        // "Alt+N"
  std::string defaultAction;   // "Press"
  long state = 0;              // STATE_SYSTEM_*
  RECT screen{};               // where it stands on the screen
};

// The COM side shared by every accessible object of ours: reference counting, IDispatch (not offered: screen
// readers call IAccessible directly), and the IAccessible methods, each reduced to the object itself. A call
// for a child id goes to that child's own object; an object whose control is gone answers
// CO_E_OBJNOTCONNECTED to every call.
class AccessibleObject : public IAccessible {
 public:
  AccessibleObject() = default;
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 protected:
  virtual ~AccessibleObject() = default;

  virtual bool Connected() const = 0;
  virtual Description Describe() const = 0;
  virtual HRESULT Parent(IDispatch** parent) = 0;
  virtual long ChildCount() { return 0; }
  // The object of child id (1-based); empty when there is none.
  virtual win32::ComRef<IDispatch> Child(long) { return {}; }
  // The child at a screen point: an object, CHILDID_SELF, or VT_EMPTY outside.
  virtual void HitTest(POINT screen, VARIANT& result);
  virtual void Focus(VARIANT& result) { result.vt = VT_EMPTY; }
  virtual HRESULT Navigate(long, VARIANT*) { return DISP_E_MEMBERNOTFOUND; }
  virtual void DoDefaultAction() {}

 private:
  // For a child id, the child's own object; empty for CHILDID_SELF.
  HRESULT Resolve(const VARIANT& child, win32::ComRef<IAccessible>& other);
  // The shape of every call that names a child: a child's id goes on to the child's own object
  // (forward(IAccessible&)), CHILDID_SELF is answered here (answer()); nothing thrown leaves.
  template <class Forward, class Answer>
  HRESULT ForwardOrAnswer(const VARIANT& child, Forward forward, Answer answer) noexcept;

  LONG references_ = 1;
};

// A BSTR of UTF-8 text, or nullptr for empty text.
BSTR ToBstr(const std::string& text);

}  // namespace gui::access
