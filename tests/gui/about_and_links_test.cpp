// The About box from both of its routes, and every web link reaching the
// shell seam with the right verb and address; no browser ever starts.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_dialog.h"
#include "gui_support.h"
#include "res/resource.h"
#include "ui/about_dialog.h"
#include "ui/web_link.h"
#include "win/shell.h"

namespace {

class AboutAndLinksTest : public ::testing::Test {
 protected:
  AboutAndLinksTest()
      : recorder([this](const win::ShellRequest& request) {
          requests.push_back(request);
          return reinterpret_cast<HINSTANCE>(42);
        }) {
    created = dialog.Create() && gui_test::WaitForScan(dialog);
  }

  // Opens the About box with `open`, checks it, clicks its link, then
  // closes it by `closeKey` (Escape or Enter).
  void VisitAbout(const std::function<void()>& open, WPARAM closeKey) {
    bool seen = false;
    gui_test::WhileModal(
        "About Varnock",
        [&](HWND about) {
          seen = true;
          EXPECT_EQ(::GetWindow(about, GW_OWNER), dialog.Handle());
          EXPECT_FALSE(::IsWindowEnabled(dialog.Handle()));
          EXPECT_EQ(::GetFocus(), ::GetDlgItem(about, IDOK));
          RECT box, owner;  // centred on the main window
          ::GetWindowRect(about, &box);
          ::GetWindowRect(dialog.Handle(), &owner);
          EXPECT_NEAR(box.left + box.right, owner.left + owner.right, 1);
          EXPECT_NEAR(box.top + box.bottom, owner.top + owner.bottom, 1);
          ::SendMessageA(about, WM_COMMAND, MAKEWPARAM(IDC_HOME_PAGE_LINK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(::GetDlgItem(about, IDC_HOME_PAGE_LINK)));
          EXPECT_TRUE(::IsWindowVisible(about));  // the link leaves the box open
          ::PostMessageA(::GetFocus(), WM_KEYDOWN, closeKey, 0);
        },
        open);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(::IsWindowEnabled(dialog.Handle()));
  }

  std::vector<win::ShellRequest> requests;
  win::ScopedShellLauncher recorder;
  gui_test::SmallMachine machine;
  app::MainDialog dialog;
  bool created = false;
};

TEST_F(AboutAndLinksTest, AboutBoxFromTheButtonAndTheSystemMenu) {
  ASSERT_TRUE(created);
  HWND main = dialog.Handle();
  VisitAbout([&] { ::SendMessageA(dialog.Item(IDC_ABOUT_BUTTON), BM_CLICK, 0, 0); }, VK_ESCAPE);
  VisitAbout([&] { ::SendMessageA(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }, VK_RETURN);
  VisitAbout([&] { ::SendMessageA(main, WM_SYSCOMMAND, 0x001F, 0); }, VK_ESCAPE);
  ASSERT_EQ(requests.size(), 3u);
  for (const auto& request : requests) EXPECT_EQ(request.file, ui::MakerHomePage());
  EXPECT_EQ(gui_test::WindowText(main), "Varnock v1.3");
  EXPECT_FALSE(dialog.Ended());
}

TEST_F(AboutAndLinksTest, EnterInTheAboutBoxIsOk) {
  ui::AboutDialog about;
  INT_PTR result = 0;
  gui_test::WhileModal(
      "About Varnock",
      [](HWND box) {
        ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(::GetWindowLongA(::GetDlgItem(box, IDC_HOME_PAGE_LINK), GWL_STYLE) & 0xF,
                  BS_OWNERDRAW);
      },
      [&] { result = about.DoModal(nullptr); });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(about.HomePageLink().GetLinkStyle(), ui::CHButton::UnderlineOnHover);
  EXPECT_FALSE(about.HomePageLink().IsHovering());
}

TEST_F(AboutAndLinksTest, LinksHelpAndF1OpenTheirPages) {
  ASSERT_TRUE(created);
  ::SendMessageA(dialog.Item(IDC_DOWNLOADS_LINK), BM_CLICK, 0, 0);
  ::SendMessageA(dialog.Item(IDC_HELP_BUTTON), BM_CLICK, 0, 0);
  ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_F1, 0);
  gui_test::Pump(dialog);

  const std::vector<std::string> pages = {ui::MakerDownloadsPage(), ui::ProgramHelpPage(),
                                          ui::ProgramHelpPage()};
  ASSERT_EQ(requests.size(), pages.size());
  for (size_t i = 0; i < pages.size(); ++i) {
    EXPECT_EQ(requests[i].file, pages[i]);
    EXPECT_EQ(requests[i].verb, "open");
    EXPECT_EQ(requests[i].owner, nullptr);
    EXPECT_FALSE(requests[i].parameters);
    EXPECT_FALSE(requests[i].directory);
    EXPECT_EQ(requests[i].show, SW_SHOWNORMAL);
  }
  EXPECT_EQ(ui::MakerDownloadsPage(), ui::MakerHomePage() + "/downloads/index.html");
  EXPECT_EQ(ui::ProgramHelpPage(), ui::MakerHomePage() + "/downloads/varnock/index.htm");
  EXPECT_EQ(ui::WebLink("").Launch(), nullptr);
  EXPECT_EQ(requests.size(), pages.size());
}

}  // namespace
