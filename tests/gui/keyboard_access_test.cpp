// Both dialogs as a keyboard user and a screen reader meet them: every
// control as MSAA reads it back from outside (names, access keys, the links'
// role, address and action), then Alt and a letter pressed for real.
#include <gtest/gtest.h>
#include <ole2.h>
#include <oleacc.h>

#include <set>
#include <string>
#include <vector>

#include "app/main_dialog.h"
#include "gui_support.h"
#include "res/resource.h"
#include "ui/web_link.h"
#include "win/ansi.h"
#include "win/shell.h"
#include "win/unique_handle.h"
#include "win/utf8.h"

namespace {

// What a screen reader hears of one control.
struct Announced {
  std::string name, shortcut, value, action;
  LONG role = 0;
};

class Bstr {
 public:
  ~Bstr() { ::SysFreeString(text_); }
  BSTR* put() { return &text_; }
  std::string get() const { return text_ ? ansi::FromWide(text_) : std::string(); }

 private:
  BSTR text_ = nullptr;
};

void ReleaseObject(IAccessible* object) { object->Release(); }
using UniqueAccessible = win::UniqueHandle<win::traits::NullIsZero<IAccessible*, &ReleaseObject>>;

// The control's client object, as a screen reader in another program gets it.
UniqueAccessible ObjectOf(HWND control) {
  UniqueAccessible object;
  if (FAILED(::AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.put()))))
    object.reset();
  return object;
}

constexpr VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

Announced Announce(HWND control) {
  const UniqueAccessible object = ObjectOf(control);
  if (!object) return {};
  Bstr name, shortcut, value, action;
  object.get()->get_accName(Self(), name.put());
  object.get()->get_accKeyboardShortcut(Self(), shortcut.put());
  object.get()->get_accValue(Self(), value.put());
  object.get()->get_accDefaultAction(Self(), action.put());
  VARIANT role{};
  const bool known = SUCCEEDED(object.get()->get_accRole(Self(), &role)) && role.vt == VT_I4;
  return {name.get(), shortcut.get(), value.get(), action.get(), known ? role.lVal : 0};
}

HRESULT DoDefaultAction(HWND control) {
  const UniqueAccessible object = ObjectOf(control);
  return object ? object.get()->accDoDefaultAction(Self()) : E_FAIL;
}

void Deliver() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

struct Expected {
  int id;
  const char* name;
  const char* shortcut;
  std::string address;  // empty for all but links
};

// Every control of `dialog`: no "&" in a name and no access key twice (the
// system writes the letter as the label has it, "Alt+w" for "do&wnloads"); the
// expected ones as listed, the links as links whose action opens them.
void ExpectAnnounced(HWND dialog, const std::vector<Expected>& expected,
                     const std::vector<win::ShellRequest>& opened) {
  std::set<std::string> keys;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const Announced heard = Announce(child);
    EXPECT_EQ(heard.name.find('&'), std::string::npos) << heard.name;
    if (!heard.shortcut.empty()) {
      EXPECT_TRUE(keys.insert(ansi::ToLower(heard.shortcut)).second) << heard.shortcut;
    }
  }
  for (const auto& e : expected) {
    HWND control = ::GetDlgItem(dialog, e.id);
    const Announced heard = Announce(control);
    EXPECT_EQ(heard.name, e.name);
    EXPECT_EQ(heard.shortcut, e.shortcut) << e.name;
    if (e.address.empty()) {
      EXPECT_NE(heard.role, ROLE_SYSTEM_LINK) << e.name;  // Wine gives every standard control 10
      continue;
    }
    EXPECT_EQ(heard.role, ROLE_SYSTEM_LINK) << e.name;
    EXPECT_EQ(heard.value, e.address);
    EXPECT_EQ(heard.action, "Click");
    const size_t before = opened.size();
    EXPECT_EQ(DoDefaultAction(control), S_OK);
    Deliver();
    ASSERT_EQ(opened.size(), before + 1) << e.name;
    EXPECT_EQ(opened.back().file, e.address);
  }
}

// Alt held around each key, as a person presses it.
void PressWithAlt(std::initializer_list<WORD> keys, bool alt = true) {
  std::vector<INPUT> strokes;
  auto add = [&](WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    strokes.push_back(input);
  };
  if (alt) add(VK_MENU, false);
  for (WORD key : keys) add(key, false), add(key, true);
  if (alt) add(VK_MENU, true);
  ::SendInput(static_cast<UINT>(strokes.size()), strokes.data(), sizeof(INPUT));
}

class KeyboardAccessTest : public ::testing::Test {
 protected:
  KeyboardAccessTest()
      : recorder([this](const win::ShellRequest& request) {
          opened.push_back(request);
          return reinterpret_cast<HINSTANCE>(42);
        }) {
    created = dialog.Create() && gui_test::WaitForScan(dialog);
  }
  ~KeyboardAccessTest() override {
    if (ole) ::OleUninitialize();
  }

  const bool ole = SUCCEEDED(::OleInitialize(nullptr));  // as the program has it
  std::vector<win::ShellRequest> opened;
  win::ScopedShellLauncher recorder;
  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  bool created = false;
};

TEST_F(KeyboardAccessTest, MainWindowAsAScreenReaderHearsIt) {
  ASSERT_TRUE(created);
  ExpectAnnounced(dialog.Handle(),
                  {{IDC_COPY_TO_CLIPBOARD, "Copy to Clipboard", "Alt+C", ""},
                   {IDOK, "Done", "Alt+D", ""},
                   {IDC_DOWNLOADS_LINK, "More free downloads at Halberwick!", "Alt+w",
                    ui::MakerDownloadsPage()},
                   {IDC_SHOW_ALL, "Show All of My Plugins", "Alt+S", ""},
                   {IDC_HELP_BUTTON, "Help", "Alt+H", ""},
                   {IDC_ABOUT_BUTTON, "About Varnock", "Alt+A", ""}},
                  opened);
  EXPECT_EQ(gui_test::WindowText(dialog.Handle()), "Varnock v1.3");
}

// Alt+W and Alt+H open their pages, Alt+S toggles the check box and scans
// again, Alt+A opens the About box, where Alt+V opens the home page.
TEST_F(KeyboardAccessTest, AltAndALetterDoWhatAClickDoes) {
  ASSERT_TRUE(created);
  ::SetForegroundWindow(dialog.Handle());
  PressWithAlt({'W', 'H'});
  EXPECT_TRUE(gui_test::PumpUntil(dialog, [&] { return opened.size() == 2; }));
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0].file, ui::MakerDownloadsPage());
  EXPECT_EQ(opened[1].file, ui::ProgramHelpPage());

  PressWithAlt({'S'});
  EXPECT_TRUE(gui_test::PumpUntil(dialog, [&] { return dialog.ShowAllPlugins(); }));
  EXPECT_TRUE(gui_test::WaitForScan(dialog));
  EXPECT_EQ(gui_test::Rows(dialog.Table()), gui_test::HeadlessRows(true));

  HWND box = nullptr;
  gui_test::WhileModal(
      "About Varnock",
      [&](HWND about) {
        box = about;
        ExpectAnnounced(about, {{IDC_HOME_PAGE_LINK, "Visit Halberwick", "Alt+V",
                                 ui::MakerHomePage()}, {IDOK, "OK", "", ""}},
                        opened);
        PressWithAlt({'V'});
        PressWithAlt({VK_ESCAPE}, false);
      },
      [&] {
        PressWithAlt({'A'});
        gui_test::PumpUntil(dialog, [&] { return box != nullptr; });
      });
  ASSERT_TRUE(box);
  EXPECT_FALSE(::IsWindow(box));
  ASSERT_EQ(opened.size(), 4u);  // the About link's action, then Alt+V
  EXPECT_EQ(opened[3].file, ui::MakerHomePage());
  EXPECT_FALSE(dialog.Ended());
}

}  // namespace
