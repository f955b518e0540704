// While a scan's rows come in, the shown list draws itself only when the
// scan repaints it, and is drawn whole when the rows end.
#include <gtest/gtest.h>

#include "list_window.h"

namespace {

class PaintCounter {
 public:
  explicit PaintCounter(HWND list) : list_(list) {
    ::SetWindowSubclass(list_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~PaintCounter() { ::RemoveWindowSubclass(list_, Proc, 1); }
  PaintCounter(const PaintCounter&) = delete;
  PaintCounter& operator=(const PaintCounter&) = delete;
  int paints = 0;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR self) {
    if (message == WM_PAINT) ++reinterpret_cast<PaintCounter*>(self)->paints;
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
  }
  HWND list_;
};

TEST(ListRepaint, HeldDuringTheRowsPaintedAtEachRepaintAndAtTheEnd) {
  list_test::ListWindow window;
  ::ShowWindow(window.Host(), SW_SHOWNOACTIVATE);
  ::UpdateWindow(window.Host());
  ui::SortListCtrl& list = window.Owner();
  PaintCounter counter(window.List());

  list.HoldDrawing(true);
  window.AddRow({"a.8bi", "1.0", "P", "C:\\a"});
  ::UpdateWindow(window.List());
  EXPECT_EQ(counter.paints, 0);  // held: a row alone draws nothing
  list.Repaint();
  EXPECT_EQ(counter.paints, 1);
  window.AddRow({"b.8bi", "2.0", "P", "C:\\b"});
  ::UpdateWindow(window.List());
  EXPECT_EQ(counter.paints, 1);  // held again after the repaint
  list.HoldDrawing(false);
  EXPECT_EQ(counter.paints, 2);
  RECT pending;
  EXPECT_FALSE(::GetUpdateRect(window.List(), &pending, FALSE));

  // Not held, the list draws itself as ever.
  window.AddRow({"c.8bi", "3.0", "P", "C:\\c"});
  ::UpdateWindow(window.List());
  EXPECT_EQ(counter.paints, 3);
  EXPECT_EQ(window.Column(0), (std::vector<std::string>{"a.8bi", "b.8bi", "c.8bi"}));
}

}  // namespace
