// The result list's headings in the palette.
#include <iterator>

#include "ui/palette_drawing.h"
#include "ui/palette_shapes.h"
#include "win/dpi.h"
#include "win/gdi.h"

namespace ui {
namespace {

void DrawHeading(const NMCUSTOMDRAW& draw, const Palette& palette) {
  HWND header = draw.hdr.hwndFrom;
  HDC dc = draw.hdc;
  const RECT r = draw.rc;
  const int line = LineWidth(header);
  win::FillSolidRect(dc, r, (draw.uItemState & CDIS_SELECTED) ? palette.headingPressed
                                                               : palette.headingFace);
  win::FillSolidRect(dc, RECT{r.right - line, r.top, r.right, r.bottom}, palette.headingLine);
  win::FillSolidRect(dc, RECT{r.left, r.bottom - line, r.right, r.bottom}, palette.headingLine);

  wchar_t text[260] = L"";
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  if (!::SendMessageW(header, HDM_GETITEMW, draw.dwItemSpec, reinterpret_cast<LPARAM>(&item)))
    return;
  const UINT align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                     : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                  : DT_LEFT;
  const int margin = ::MulDiv(6, static_cast<int>(win::WindowDpi(header)), win::kDefaultDpi);
  RECT label{r.left + margin, r.top, r.right - margin, r.bottom - line};
  const win::SelectedObject font(
      dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(header, WM_GETFONT, 0, 0)));
  ::SetTextColor(dc, palette.headingText);
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text, -1, &label,
              align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// Beyond the last heading, which the header fills with its own face.
void DrawRest(const NMCUSTOMDRAW& draw, const Palette& palette) {
  HWND header = draw.hdr.hwndFrom;
  RECT rest{};
  ::GetClientRect(header, &rest);
  const auto count = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  if (count > 0) {
    const LRESULT last = ::SendMessageW(header, HDM_ORDERTOINDEX, count - 1, 0);
    RECT item{};
    if (::SendMessageW(header, HDM_GETITEMRECT, last, reinterpret_cast<LPARAM>(&item)))
      rest.left = item.right;
  }
  if (rest.left >= rest.right) return;
  const int line = LineWidth(header);
  win::FillSolidRect(draw.hdc, rest, palette.headingFace);
  win::FillSolidRect(draw.hdc, RECT{rest.left, rest.bottom - line, rest.right, rest.bottom},
                     palette.headingLine);
}

}  // namespace

LRESULT DrawHeadingsInPalette(const NMCUSTOMDRAW& draw, const Palette& palette) {
  switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT:
      DrawHeading(draw, palette);
      return CDRF_SKIPDEFAULT;
    case CDDS_POSTPAINT:
      DrawRest(draw, palette);
      return CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

bool DrawHeadingsInActivePalette(HWND list, LPARAM notification, LRESULT& result) {
  const Palette* palette = ActivePalette();
  const auto& header = *reinterpret_cast<const NMHDR*>(notification);
  if (!palette || header.code != NM_CUSTOMDRAW ||
      header.hwndFrom != reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0)))
    return false;
  result = DrawHeadingsInPalette(reinterpret_cast<const NMCUSTOMDRAW&>(header), *palette);
  return true;
}

}  // namespace ui
