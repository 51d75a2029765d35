#include "host/windows/control_painter.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/gdi/gdi_objects.h"
#include "host/windows/control_classes.h"
#include "host/windows/list_box.h"
#include "host/windows/property_sheet.h"
#include "host/windows/window_manager.h"

namespace host {

using namespace platform;

namespace {

const COLORREF Face = GetSysColor(COLOR_BTNFACE);
const COLORREF Highlight = GetSysColor(COLOR_HIGHLIGHT);
const COLORREF Gray = GetSysColor(COLOR_GRAYTEXT);
constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Edge = RGB(160, 160, 160);
constexpr COLORREF DarkEdge = RGB(90, 90, 90);
constexpr COLORREF ButtonFace = RGB(225, 225, 225);
constexpr COLORREF PushedFace = RGB(204, 228, 247);
constexpr COLORREF CaptionBar = RGB(45, 85, 140);
constexpr int32_t ScrollBarWidth = 17;
constexpr int32_t ArrowButtonWidth = 17;

constexpr uint32_t SingleLine = DT_SINGLELINE | DT_VCENTER;

RECT Inset(RECT r, int32_t by) {
    return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// Drawing with the stock DC pen and brush in any colour, and text in the window's font.
class Painter {
  public:
    Painter(DeviceContext& dc, const LOGFONTW& font) : dc_(dc) {
        GdiObject object;
        object.Type = GdiObject::Kind::Font;
        object.Font = font;
        font_ = AddGdiObject(object);
        dc_.Select(font_);
        dc_.Select(StockObject(DC_PEN));
        dc_.Select(StockObject(DC_BRUSH));
        dc_.SetBkMode(TRANSPARENT);
    }
    ~Painter() {
        dc_.Select(StockObject(DEFAULT_GUI_FONT));
        RemoveGdiObject(font_);
    }
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void Fill(const RECT& r, COLORREF color) {
        dc_.SetDcBrushColor(color);
        dc_.FillRect(r, StockObject(DC_BRUSH));
    }
    void Box(const RECT& r, COLORREF fill, COLORREF edge) {
        dc_.SetDcBrushColor(fill);
        dc_.SetDcPenColor(edge);
        dc_.Rectangle(r.left, r.top, r.right, r.bottom);
    }
    void Frame(const RECT& r, COLORREF edge) {
        dc_.Select(StockObject(NULL_BRUSH));
        dc_.SetDcPenColor(edge);
        dc_.Rectangle(r.left, r.top, r.right, r.bottom);
        dc_.Select(StockObject(DC_BRUSH));
    }
    void Disc(const RECT& r, COLORREF fill, COLORREF edge) {
        dc_.SetDcBrushColor(fill);
        dc_.SetDcPenColor(edge);
        dc_.Ellipse(r.left, r.top, r.right, r.bottom);
    }
    void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, COLORREF color) {
        dc_.SetDcPenColor(color);
        dc_.MoveTo(x0, y0, nullptr);
        dc_.LineTo(x1, y1);
    }
    // A solid triangle pointing up, down, left or right, centred in `r`.
    void Arrow(const RECT& r, char direction, COLORREF color) {
        const int32_t half = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 4);
        const int32_t cx = (r.left + r.right) / 2;
        const int32_t cy = (r.top + r.bottom) / 2;
        for (int32_t i = 0; i < half; ++i) {
            const int32_t reach = half - i;
            switch (direction) {
                case 'u':
                    Fill(RECT{cx - i, cy - half / 2 + i, cx + i + 1, cy - half / 2 + i + 1}, color);
                    break;
                case 'd':
                    Fill(RECT{cx - reach + 1, cy - half / 2 + i, cx + reach, cy - half / 2 + i + 1},
                         color);
                    break;
                case 'l':
                    Fill(RECT{cx - half / 2 + i, cy - i, cx - half / 2 + i + 1, cy + i + 1}, color);
                    break;
                default:
                    Fill(RECT{cx - half / 2 + i, cy - reach + 1, cx - half / 2 + i + 1, cy + reach},
                         color);
                    break;
            }
        }
    }
    void Text(std::u16string_view text, RECT r, uint32_t format, COLORREF color) {
        if (text.empty()) {
            return;
        }
        dc_.SetTextColor(color);
        dc_.DrawText(text, r, format);
    }
    // The rectangle the text takes when drawn at r's top-left corner.
    RECT Measure(std::u16string_view text, RECT r, uint32_t format) {
        dc_.DrawText(text.empty() ? u" " : text, r, format | DT_CALCRECT);
        return r;
    }

  private:
    DeviceContext& dc_;
    HGDIOBJ font_ = nullptr;
};

bool Focused(const Window& window) {
    return WindowManager::Instance().Focus() == &window;
}

LRESULT Ask(Window& window, uint32_t message) {
    return WindowManager::Instance().Send(&window, message, 0, 0);
}

RECT Whole(const Window& window) {
    return RECT{0, 0, window.Width(), window.Height()};
}

// A child window's border, and the client area inside it.
RECT Bordered(Painter& paint, const Window& window, COLORREF edge) {
    const RECT insets = WindowManager::NonClientInsets(window);
    if (insets.left > 0) {
        paint.Frame(Whole(window), edge);
    }
    return RECT{insets.left, insets.top, window.Width() - insets.right,
                window.Height() - insets.bottom};
}

COLORREF TextColor(const Window& window) {
    return window.IsUsable() ? Black : Gray;
}

void DrawFrame(Painter& paint, const Window& window) {
    const RECT insets = WindowManager::NonClientInsets(window);
    const RECT whole = Whole(window);
    if (insets.left > 0) {
        paint.Box(whole, Face, DarkEdge);
    } else {
        paint.Fill(whole, Face);
    }
    if (insets.top > insets.left) {
        const RECT bar{1, 1, whole.right - 1, insets.top - 1};
        paint.Fill(bar, CaptionBar);
        const bool contextHelp = (window.ExStyle & WS_EX_CONTEXTHELP) != 0;
        paint.Text(window.Text,
                   RECT{bar.left + 8, bar.top, bar.right - (contextHelp ? 52 : 28), bar.bottom},
                   SingleLine | DT_NOPREFIX, White);
        // The close box, and the help box left of it when the window asks for one.
        const int32_t x = bar.right - 18;
        const int32_t y = (bar.top + bar.bottom) / 2;
        paint.Line(x - 4, y - 4, x + 4, y + 4, White);
        paint.Line(x - 4, y + 4, x + 4, y - 4, White);
        if (contextHelp) {
            paint.Text(u"?", RECT{x - 34, bar.top, x - 14, bar.bottom},
                       SingleLine | DT_CENTER | DT_NOPREFIX, White);
        }
    }
}

void DrawCheckMark(Painter& paint, const RECT& box, COLORREF color) {
    for (int32_t thick = 0; thick < 2; ++thick) {
        paint.Line(box.left + 3, box.top + 6 + thick, box.left + 5, box.top + 8 + thick, color);
        paint.Line(box.left + 5, box.top + 8 + thick, box.left + 9, box.top + 3 + thick, color);
    }
}

void DrawButton(Painter& paint, Window& window) {
    const uint32_t type = window.Style & BS_TYPEMASK;
    const bool usable = window.IsUsable();
    const RECT whole = Whole(window);
    switch (type) {
        case BS_OWNERDRAW:
            return;  // the dialog draws it (WM_DRAWITEM)
        case BS_GROUPBOX: {
            const RECT label =
                paint.Measure(window.Text, RECT{8, 0, whole.right - 8, 0}, DT_SINGLELINE);
            const int32_t middle = (label.bottom - label.top) / 2;
            paint.Frame(RECT{0, middle, whole.right, whole.bottom}, Edge);
            if (!window.Text.empty()) {
                paint.Fill(RECT{label.left - 2, label.top, label.right + 2, label.bottom}, Face);
                paint.Text(window.Text, label, DT_SINGLELINE, TextColor(window));
            }
            return;
        }
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: {
            const LRESULT check = Ask(window, BM_GETCHECK);
            const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
            const int32_t top = (whole.bottom - 13) / 2;
            const RECT box{0, top, 13, top + 13};
            const COLORREF edge = usable ? DarkEdge : Edge;
            const COLORREF mark = usable ? Black : Gray;
            if (radio) {
                paint.Disc(box, usable ? White : Face, edge);
                if (check == BST_CHECKED) {
                    paint.Disc(Inset(box, 3), mark, mark);
                }
            } else {
                paint.Box(box, usable ? White : Face, edge);
                if (check == BST_CHECKED) {
                    DrawCheckMark(paint, box, mark);
                } else if (check == BST_INDETERMINATE) {
                    paint.Fill(Inset(box, 3), Edge);
                }
            }
            const RECT text{17, 0, whole.right, whole.bottom};
            paint.Text(window.Text, text, SingleLine, TextColor(window));
            if (Focused(window)) {
                RECT label = paint.Measure(window.Text, text, DT_SINGLELINE);
                const int32_t height = label.bottom - label.top;
                label.top = (whole.bottom - height) / 2;
                label.bottom = label.top + height;
                paint.Frame(RECT{label.left - 1, label.top - 1, label.right + 1, label.bottom + 1},
                            DarkEdge);
            }
            return;
        }
        default: {
            const bool pushed = (Ask(window, BM_GETSTATE) & BST_PUSHED) != 0;
            const bool isDefault = type == BS_DEFPUSHBUTTON;
            paint.Box(whole, pushed ? PushedFace : ButtonFace,
                      !usable     ? RGB(191, 191, 191)
                      : isDefault ? Highlight
                                  : RGB(173, 173, 173));
            if (isDefault && usable) {
                paint.Frame(Inset(whole, 1), Highlight);
            }
            paint.Text(window.Text, whole, SingleLine | DT_CENTER, TextColor(window));
            if (Focused(window)) {
                paint.Frame(Inset(whole, 3), DarkEdge);
            }
            return;
        }
    }
}

// The icon of a message box: a disc with a sign in the colour of the box's kind.
void DrawIcon(Painter& paint, const Window& window) {
    const uint32_t kind = window.Parent != nullptr && window.Parent->IsMessageBox
                              ? static_cast<uint32_t>(window.Parent->UserData) & MB_ICONMASK
                              : MB_ICONINFORMATION;
    COLORREF color = Highlight;
    const char16_t* sign = u"i";
    switch (kind) {
        case MB_ICONERROR:
            color = RGB(200, 40, 40);
            sign = u"×";
            break;
        case MB_ICONQUESTION:
            sign = u"?";
            break;
        case MB_ICONWARNING:
            color = RGB(230, 160, 0);
            sign = u"!";
            break;
        default:
            break;
    }
    const RECT disc{0, 0, std::min(32, window.Width()), std::min(32, window.Height())};
    paint.Disc(disc, color, color);
    paint.Text(sign, disc, SingleLine | DT_CENTER | DT_NOPREFIX, White);
}

void DrawStatic(Painter& paint, Window& window) {
    constexpr uint32_t Icon = 0x03;
    constexpr uint32_t BlackRect = 0x04;
    constexpr uint32_t GrayRect = 0x05;
    constexpr uint32_t WhiteRect = 0x06;
    constexpr uint32_t NoPrefix = 0x80;
    const RECT whole = Whole(window);
    const uint32_t type = window.Style & SS_TYPEMASK;
    switch (type) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT: {
            const uint32_t align = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : 0;
            paint.Text(window.Text, whole,
                       DT_WORDBREAK | align | ((window.Style & NoPrefix) != 0 ? DT_NOPREFIX : 0),
                       TextColor(window));
            return;
        }
        case Icon:
            DrawIcon(paint, window);
            return;
        case BlackRect:
        case GrayRect:
        case WhiteRect:
            paint.Fill(whole, type == BlackRect ? Black : type == GrayRect ? Edge : White);
            return;
        case SS_BLACKFRAME:
        case SS_GRAYFRAME:
        case SS_WHITEFRAME:
            paint.Frame(whole, type == SS_BLACKFRAME ? Black : type == SS_GRAYFRAME ? Edge : White);
            return;
        default:
            if (type >= 0x10 && type <= 0x12) {  // etched lines and frames
                paint.Frame(whole, Edge);
            }
            return;
    }
}

void DrawEdit(Painter& paint, Window& window) {
    constexpr uint32_t RightAligned = 0x0002;
    const bool plain = (window.Style & ES_READONLY) != 0 || !window.IsUsable();
    paint.Fill(Whole(window), plain ? Face : White);
    const RECT client = Bordered(paint, window, Focused(window) ? Highlight : Edge);
    const RECT text{client.left + 2, client.top + 1, client.right - 2, client.bottom - 1};
    const uint32_t align = (window.Style & ES_CENTER) != 0      ? DT_CENTER
                           : (window.Style & RightAligned) != 0 ? DT_RIGHT
                                                                : DT_LEFT;
    const bool multiline = (window.Style & ES_MULTILINE) != 0;
    const std::u16string shown = EditDisplayText(window);
    paint.Text(shown, text, DT_NOPREFIX | align | (multiline ? DT_WORDBREAK : SingleLine),
               TextColor(window));
    if (Focused(window) && !multiline && align == DT_LEFT) {
        const RECT used = paint.Measure(shown, text, DT_SINGLELINE | DT_NOPREFIX);
        const int32_t x = shown.empty() ? text.left : std::min(used.right, text.right - 1);
        const int32_t height = used.bottom - used.top;
        const int32_t top = (text.top + text.bottom - height) / 2;
        paint.Fill(RECT{x, top, x + 1, top + height}, Black);
    }
}

void DrawScrollBar(Painter& paint, const RECT& bar, int32_t first, int32_t shown, int32_t count) {
    paint.Fill(bar, Face);
    const int32_t arrow = std::min(ArrowButtonWidth, (bar.bottom - bar.top) / 3);
    paint.Arrow(RECT{bar.left, bar.top, bar.right, bar.top + arrow}, 'u', DarkEdge);
    paint.Arrow(RECT{bar.left, bar.bottom - arrow, bar.right, bar.bottom}, 'd', DarkEdge);
    const int32_t track = bar.bottom - bar.top - 2 * arrow;
    if (count <= 0 || track <= 4) {
        return;
    }
    const int32_t length = std::max(8, track * std::min(shown, count) / count);
    const int32_t hidden = std::max(1, count - shown);
    const int32_t start =
        bar.top + arrow + (track - length) * std::clamp(first, 0, hidden) / hidden;
    paint.Fill(RECT{bar.left + 3, start, bar.right - 3, start + length}, RGB(192, 192, 192));
}

// The rows of a list from its top item; selected ones highlighted, the caret framed when focused.
void DrawItems(Painter& paint, const Window& window, const ListBoxState& list, RECT area) {
    const int32_t height = std::max(1, list.ItemHeight);
    for (int32_t i = list.Top; i < list.Items.Count(); ++i) {
        const int32_t top = area.top + (i - list.Top) * height;
        if (top >= area.bottom) {
            break;
        }
        const RECT row{area.left, top, area.right, top + height};
        const bool selected = list.IsSelected(i);
        if (selected) {
            paint.Fill(row, window.IsUsable() ? Highlight : RGB(204, 204, 204));
        }
        paint.Text(list.Items.At(i).Text, RECT{row.left + 2, row.top, row.right - 2, row.bottom},
                   SingleLine | DT_NOPREFIX,
                   !window.IsUsable() ? Gray
                   : selected         ? White
                                      : Black);
        const int32_t caret = list.Multiple ? list.Caret : list.Current;
        if (Focused(window) && i == caret) {
            paint.Frame(row, DarkEdge);
        }
    }
}

void DrawListBox(Painter& paint, Window& window) {
    const auto* list = window.StateAs<ListBoxState>();
    paint.Fill(Whole(window), window.IsUsable() ? White : Face);
    RECT client = Bordered(paint, window, Focused(window) ? Highlight : Edge);
    if (list == nullptr) {
        return;
    }
    const int32_t rows = (client.bottom - client.top) / std::max(1, list->ItemHeight);
    if ((window.Style & WS_VSCROLL) != 0 && list->Items.Count() > rows) {
        DrawScrollBar(paint,
                      RECT{client.right - ScrollBarWidth, client.top, client.right, client.bottom},
                      list->Top, rows, list->Items.Count());
        client.right -= ScrollBarWidth;
    }
    if ((window.Style & LBS_OWNERDRAWFIXED) == 0) {
        DrawItems(paint, window, *list, client);
    }
}

void DrawComboBox(Painter& paint, Window& window) {
    const ListBoxState* list = ComboList(window);
    const bool usable = window.IsUsable();
    bool focused = Focused(window);
    for (const Window* child : window.Children) {
        focused = focused || Focused(*child);
    }
    const RECT whole = Whole(window);
    paint.Box(whole, usable ? White : Face, focused ? Highlight : Edge);
    const RECT button{whole.right - 1 - ArrowButtonWidth, 1, whole.right - 1, whole.bottom - 1};
    paint.Fill(button, Face);
    paint.Arrow(button, 'd', usable ? DarkEdge : Edge);
    const bool ownerDrawn = (window.Style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) != 0;
    if (list == nullptr || ownerDrawn || (window.Style & CBS_TYPEMASK) != CBS_DROPDOWNLIST) {
        return;  // the edit part or the dialog draws the field
    }
    const RECT field{3, 3, button.left - 2, whole.bottom - 3};
    const bool highlighted = focused && usable;
    if (highlighted) {
        paint.Fill(field, Highlight);
    }
    if (list->Items.Valid(list->Current)) {
        paint.Text(list->Items.At(list->Current).Text,
                   RECT{field.left + 2, field.top, field.right, field.bottom},
                   SingleLine | DT_NOPREFIX,
                   !usable       ? Gray
                   : highlighted ? White
                                 : Black);
    }
}

void DrawTrackbar(Painter& paint, Window& window) {
    const auto min = static_cast<int32_t>(Ask(window, TBM_GETRANGEMIN));
    const auto max = static_cast<int32_t>(Ask(window, TBM_GETRANGEMAX));
    const auto position = static_cast<int32_t>(Ask(window, TBM_GETPOS));
    const auto frequency = static_cast<int32_t>(Ask(window, TBM_GETTICFREQ));
    const bool vertical = (window.Style & TBS_VERT) != 0;
    const bool ticks = (window.Style & TBS_AUTOTICKS) != 0 && (window.Style & TBS_NOTICKS) == 0;
    // Lay out along x and across y, then turn for a vertical trackbar.
    const int32_t along = vertical ? window.Height() : window.Width();
    const int32_t across = vertical ? window.Width() : window.Height();
    const auto place = [&](int32_t a0, int32_t c0, int32_t a1, int32_t c1) {
        return vertical ? RECT{c0, a0, c1, a1} : RECT{a0, c0, a1, c1};
    };
    constexpr int32_t Margin = 8;
    const int32_t span = std::max(1, along - 2 * Margin);
    const auto at = [&](int32_t value) {
        const int64_t range = std::max<int64_t>(1, static_cast<int64_t>(max) - min);
        return Margin + static_cast<int32_t>(span * (static_cast<int64_t>(value) - min) / range);
    };
    // Ticks below (right of) the channel, above (left of) it with TBS_TOP, or on both sides;
    // the channel moves away from one-sided ticks.
    const bool both = (window.Style & TBS_BOTH) != 0;
    const bool before = ticks && (both || (window.Style & TBS_TOP) != 0);
    const bool after = ticks && (both || (window.Style & TBS_TOP) == 0);
    const int32_t middle = across / 2 + (before && !after ? 3 : 0) - (after && !before ? 3 : 0);
    paint.Box(place(Margin, middle - 2, along - Margin, middle + 2), RGB(231, 234, 234),
              RGB(214, 214, 214));
    if (ticks && frequency > 0 && max > min && (max - min) / frequency <= 1000) {
        for (int64_t value = min; value <= max; value += frequency) {
            const int32_t x = at(static_cast<int32_t>(value));
            if (after) {
                paint.Fill(place(x, middle + 11, x + 1, middle + 14), DarkEdge);
            }
            if (before) {
                paint.Fill(place(x, middle - 14, x + 1, middle - 11), DarkEdge);
            }
        }
    }
    const int32_t x = at(std::clamp(position, min, std::max(min, max)));
    const COLORREF thumb = window.IsUsable() ? Highlight : Edge;
    paint.Box(place(x - 5, middle - 9, x + 6, middle + 9), thumb, thumb);
    if (Focused(window)) {
        paint.Frame(Whole(window), Edge);
    }
}

void DrawUpDown(Painter& paint, Window& window) {
    const bool horizontal = (window.Style & UDS_HORZ) != 0;
    const RECT whole = Whole(window);
    const RECT first = horizontal ? RECT{0, 0, whole.right / 2, whole.bottom}
                                  : RECT{0, 0, whole.right, whole.bottom / 2};
    const RECT second = horizontal ? RECT{whole.right / 2, 0, whole.right, whole.bottom}
                                   : RECT{0, whole.bottom / 2, whole.right, whole.bottom};
    const COLORREF arrow = window.IsUsable() ? DarkEdge : Edge;
    paint.Box(first, ButtonFace, Edge);
    paint.Box(second, ButtonFace, Edge);
    paint.Arrow(first, horizontal ? 'l' : 'u', arrow);
    paint.Arrow(second, horizontal ? 'r' : 'd', arrow);
}

void DrawListView(Painter& paint, Window& window) {
    constexpr uint32_t NoHeader = 0x4000;
    paint.Fill(Whole(window), White);
    const RECT client = Bordered(paint, window, Focused(window) ? Highlight : Edge);
    const ListViewContent content = ListViewContentOf(window);
    const RECT sample = paint.Measure(u"Ag", RECT{0, 0, 0, 0}, DT_SINGLELINE);
    const int32_t rowHeight = sample.bottom - sample.top + 4;
    int32_t y = client.top;
    if ((window.Style & NoHeader) == 0) {
        const RECT header{client.left, y, client.right, y + rowHeight + 2};
        paint.Fill(header, Face);
        paint.Fill(RECT{header.left, header.bottom - 1, header.right, header.bottom}, Edge);
        int32_t x = client.left;
        for (const auto& [title, width] : content.Columns) {
            paint.Text(title, RECT{x + 6, header.top, x + width - 2, header.bottom},
                       SingleLine | DT_NOPREFIX, TextColor(window));
            paint.Fill(RECT{x + width - 1, header.top + 2, x + width, header.bottom - 2}, Edge);
            x += width;
        }
        y = header.bottom;
    }
    for (const auto& cells : content.Rows) {
        if (y >= client.bottom) {
            break;
        }
        int32_t x = client.left;
        for (size_t column = 0; column < content.Columns.size(); ++column) {
            const int32_t width = content.Columns[column].second;
            if (column < cells.size()) {
                paint.Text(cells[column], RECT{x + 6, y, x + width - 2, y + rowHeight},
                           SingleLine | DT_NOPREFIX, TextColor(window));
            }
            x += width;
        }
        y += rowHeight;
    }
}

constexpr int32_t TabStripHeight = 22;

// Where each tab of a sheet's tab strip lies, in the tab control's coordinates.
std::vector<RECT> MeasureTabs(Painter& paint, const Window& window) {
    std::vector<RECT> tabs;
    const PropertySheet* sheet = PropertySheet::Of(window.Parent);
    if (sheet == nullptr) {
        return tabs;
    }
    int32_t x = 2;
    for (int32_t i = 0; i < sheet->PageCount(); ++i) {
        const RECT label = paint.Measure(sheet->PageAt(i).Title, RECT{0, 0, 0, 0}, DT_SINGLELINE);
        const int32_t width = label.right - label.left + 16;
        const bool current = i == sheet->Current();
        tabs.push_back(RECT{x, current ? 0 : 2, x + width, TabStripHeight});
        x += width;
    }
    return tabs;
}

// A property sheet's tabs: one per page, the current one joined to the panel below.
void DrawTabs(Painter& paint, Window& window) {
    const RECT whole = Whole(window);
    paint.Box(RECT{0, TabStripHeight - 1, whole.right, whole.bottom}, Face, Edge);
    const PropertySheet* sheet = PropertySheet::Of(window.Parent);
    const std::vector<RECT> tabs = MeasureTabs(paint, window);
    for (int32_t i = 0; i < static_cast<int32_t>(tabs.size()); ++i) {
        const RECT& tab = tabs[i];
        paint.Box(tab, i == sheet->Current() ? Face : ButtonFace, Edge);
        if (i == sheet->Current()) {
            paint.Fill(RECT{tab.left + 1, TabStripHeight - 1, tab.right - 1, TabStripHeight}, Face);
        }
        paint.Text(sheet->PageAt(i).Title, tab, SingleLine | DT_CENTER, Black);
    }
}

}  // namespace

LOGFONTW WindowFont(const Window& window) {
    for (const Window* w = &window; w != nullptr; w = w->IsChild() ? w->Parent : nullptr) {
        if (w->FontPointSize == 0) {
            continue;
        }
        LOGFONTW font = DefaultFont();
        font.lfHeight = -MulDiv(w->FontPointSize, 96, 72);
        font.lfWeight = w->FontWeight != 0 ? w->FontWeight : 400;
        font.lfItalic = w->FontItalic ? 1 : 0;
        std::fill(std::begin(font.lfFaceName), std::end(font.lfFaceName), u'\0');
        std::copy_n(w->FontFace.begin(), std::min<size_t>(w->FontFace.size(), LF_FACESIZE - 1),
                    font.lfFaceName);
        return font;
    }
    return DefaultFont();
}

void DrawLook(Window& window, DeviceContext& dc) {
    Painter paint(dc, WindowFont(window));
    if (!window.IsChild()) {
        DrawFrame(paint, window);
        return;
    }
    struct Look {
        const char16_t* ClassName;
        void (*Draw)(Painter&, Window&);
    };
    static const Look Looks[] = {
        {WC_BUTTON, DrawButton},     {WC_STATIC, DrawStatic},      {WC_EDIT, DrawEdit},
        {WC_LISTBOX, DrawListBox},   {WC_COMBOBOX, DrawComboBox},  {TRACKBAR_CLASSW, DrawTrackbar},
        {UPDOWN_CLASSW, DrawUpDown}, {WC_LISTVIEWW, DrawListView}, {WC_TABCONTROLW, DrawTabs},
    };
    if (window.IsDialog) {
        paint.Fill(Whole(window), Face);  // a page
        return;
    }
    for (const Look& look : Looks) {
        if (window.SameClass(look.ClassName)) {
            look.Draw(paint, window);
            return;
        }
    }
}

std::vector<RECT> TabRects(const Window& tabControl) {
    ImageDC measuring(1, 1);
    Painter paint(measuring, WindowFont(tabControl));
    return MeasureTabs(paint, tabControl);
}

}  // namespace host
