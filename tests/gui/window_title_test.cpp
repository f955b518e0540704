#include <gtest/gtest.h>

#include "app/window_title.h"

namespace {

TEST(WindowTitleTest, FileVersionShortened) {
  const struct {
    const char* fileVersion;
    const char* title;
  } cases[] = {
      {"1, 3, 0, 0", "Varnock v1.3"},  {"1, 0, 0, 0", "Varnock v1"},
      {"2, 10, 0, 0", "Varnock v2.10"}, {"1, 3, 0, 1", "Varnock v1.3.0.1"},
      {"10, 0", "Varnock v10"},         {"0, 0", "Varnock v0"},
      {"1.20.0.0", "Varnock v1.20"},    {"", "Varnock v"},
  };
  for (const auto& c : cases) EXPECT_EQ(app::WindowTitle(c.fileVersion), c.title) << c.fileVersion;
}

TEST(WindowTitleTest, OwnVersionResource) {
  EXPECT_EQ(app::ModuleFileVersion(::GetModuleHandleA(nullptr)), "1, 3, 0, 0");
}

}  // namespace
