#pragma once
// A dialog box over a template resource, run modally by a message loop of
// our own or created modelessly (tests). `this` travels in the creation
// parameter and is stored at WM_INITDIALOG; messages before it go to the
// dialog manager's defaults. Handlers are virtual; no exception leaves the
// dialog procedure.
//
// The loop offers every queued message to the message filters of the window
// it is bound for and of that window's parents before the dialog manager
// sees it, as the classic framework's PreTranslateMessage does.
//
// A change of system colours or settings goes on to every control.
#include <windows.h>

#include <vector>

#include "win/unique_handle.h"

namespace win {

class MessageFilter {
 public:
  // The window whose queued messages (and its children's) this filter sees.
  virtual HWND FilterWindow() const = 0;
  // True when the message was handled and must not be dispatched.
  virtual bool PreTranslateMessage(MSG& message) = 0;

 protected:
  ~MessageFilter() = default;
};

// The framework's standard help command, sent to the owner when F1 is
// pressed in a dialog that has no help of its own.
inline constexpr WORD kHelpCommand = 0xE146;

class Dialog {
 public:
  explicit Dialog(int templateId, HINSTANCE instance = ::GetModuleHandleA(nullptr));
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Runs the dialog until EndDialog and returns its result; -1 when it could
  // not be created. The owner is disabled meanwhile.
  INT_PTR DoModal(HWND owner = nullptr);
  // Creates the dialog without running it; the caller pumps messages
  // through PreTranslateMessage. Destroyed with this object.
  bool Create(HWND owner = nullptr);

  void EndDialog(INT_PTR result);
  bool Ended() const { return ended_; }

  HWND Handle() const { return window_.get(); }
  HWND Item(int id) const { return ::GetDlgItem(window_.get(), id); }
  // The client size the template asks for, in pixels, whatever size the
  // system gave the window; 0, 0 before the window exists.
  SIZE TemplateClientSize() const;

  void AddMessageFilter(MessageFilter& filter) { filters_.push_back(&filter); }
  // Filters, then keyboard navigation; true when the message was consumed.
  bool PreTranslateMessage(MSG& message);

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  // Each returns true when it handled the message.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, LRESULT& /*result*/) { return false; }
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }
  // F1 and WM_HELP. Without help of its own a dialog asks its owner.
  virtual void OnHelp();

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool CreateWindowFromTemplate(HWND owner);
  void CentreIfRequested();
  // x, y, cx, cy in dialog units.
  bool ReadTemplateBox(SHORT (&box)[4]) const;

  int templateId_;
  HINSTANCE instance_;
  HWND owner_ = nullptr;
  bool modal_ = false;
  bool ended_ = false;
  INT_PTR result_ = 0;
  std::vector<MessageFilter*> filters_;
  // Ours from WM_INITDIALOG; let go at WM_NCDESTROY, when the window is gone.
  // Last, so the window goes first while the rest is still whole.
  UniqueWindow window_;
};

}  // namespace win
