#include "ui/fax/fax_cover_page.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "settings/fax_cover_info.h"
#include "ui/core/strings.h"
#include "ui/resources/resource_ids.h"

namespace qv::ui {

using namespace platform;
using settings::PluginDevmode;

namespace {

constexpr int PostScriptPassThrough = 19;
constexpr size_t PassThroughRoom = 512;
constexpr size_t TextRoom = 2048;

constexpr std::string_view CoverMark =
    "%%Make this page the Fax Cover page: \r\n statusdict /setcoverpage known \n {statusdict begin "
    "true setcoverpage end} if \n";
// x, y, font size and the count shown when the printer keeps none.
constexpr const char* PageCountFormat =
    "%d %d moveto \n gsave\n -1 1 scale\n 180 rotate\n /Helvetica findfont\n%d "
    "scalefont\nsetfont\n "
    "/strPP 10 string def \n statusdict /pagesprinted known \n {statusdict begin pagesprinted "
    "strPP "
    "cvs show end}  {%d strPP cvs show} ifelse \n grestore\n currentdict /strPP undef \n";

void PassThrough(HDC dc, std::string_view text) {
    char buffer[PassThroughRoom] = {};
    const size_t length = std::min(text.size(), PassThroughRoom - 2);
    const auto count = static_cast<uint16_t>(length);
    std::memcpy(buffer, &count, 2);
    std::memcpy(buffer + 2, text.data(), length);
    ExtEscape(dc, PostScriptPassThrough, static_cast<int>(length + 2), buffer, 0, nullptr);
}

// A field of the record up to its terminator, never past its capacity: a record set through the
// escapes may hold a text without one.
template <size_t Capacity>
std::u16string_view FieldText(const char16_t (&field)[Capacity]) {
    return {field, static_cast<size_t>(std::find(field, field + Capacity, u'\0') - field)};
}

// A prefix from the string table followed by a value, cut to the room of the text buffer.
std::u16string Line(uint32_t prefix, std::u16string_view value = {}) {
    std::u16string text = LoadText(prefix);
    text.append(value);
    text.resize(std::min(text.size(), TextRoom - 1));
    return text;
}

// The character set of the page's fonts, a decimal number in the string table.
uint8_t CoverCharSet() {
    uint32_t value = 0;
    for (const char16_t digit : LoadText(IDS_FAX_COVER_FONT_CHARSET)) {
        if (digit < u'0' || digit > u'9') {
            break;
        }
        value = std::min<uint32_t>(value * 10 + (digit - u'0'), 0xFF);
    }
    return static_cast<uint8_t>(value);
}

HFONT CreateCoverFont(int32_t height, int32_t weight, bool italic) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = weight;
    font.lfItalic = italic ? 1 : 0;
    font.lfCharSet = CoverCharSet();
    font.lfPitchAndFamily = 0x20;
    const std::u16string face = LoadText(IDS_FAX_COVER_FONT_FACE);
    std::copy_n(face.begin(), std::min<size_t>(face.size(), LF_FACESIZE - 1), font.lfFaceName);
    return CreateFontIndirectW(&font);
}

// The page's dimensions in device units, in the job's orientation.
struct CoverLayout {
    int32_t Width;
    int32_t Height;
    int32_t Left;       // x0
    int32_t RuleEnd;    // R
    int32_t Step;       // T
    int32_t SmallStep;  // G
    int32_t Indent;     // I
    int32_t Smaller;    // S
    int32_t Dpi;

    int32_t FontHeight(int32_t divisor) const { return MulDiv(Smaller / divisor, Dpi, 72); }
};

CoverLayout LayoutFor(HDC dc, const DEVMODEW& publicMode) {
    int32_t width = GetDeviceCaps(dc, PHYSICALWIDTH);
    int32_t height = GetDeviceCaps(dc, PHYSICALHEIGHT);
    if ((publicMode.dmOrientation == DMORIENT_LANDSCAPE && width < height) ||
        (publicMode.dmOrientation == DMORIENT_PORTRAIT && width > height)) {
        std::swap(width, height);
    }
    CoverLayout layout{};
    layout.Width = width;
    layout.Height = height;
    layout.Left = width / 20;
    layout.RuleEnd = width - 2 * layout.Left;
    layout.Step = height / 20;
    layout.SmallStep = height / 30;
    layout.Indent = height / 40;
    layout.Smaller = std::min(width, height);
    layout.Dpi = GetDeviceCaps(dc, LOGPIXELSX);
    return layout;
}

// The page's fonts and pens, deleted with this once the device context holds its own again.
struct CoverObjects {
    HFONT Title = nullptr;
    HFONT Label = nullptr;
    HFONT Value = nullptr;
    HPEN Thick = nullptr;
    HPEN Thin = nullptr;

    explicit CoverObjects(const CoverLayout& layout)
        : Title(CreateCoverFont(layout.FontHeight(200), 800, true)),
          Label(CreateCoverFont(layout.FontHeight(300), 700, false)),
          Value(CreateCoverFont(layout.FontHeight(400), 400, false)),
          Thick(CreatePen(PS_SOLID, layout.Smaller / 300, RGB(0, 0, 0))),
          Thin(CreatePen(PS_SOLID, layout.Smaller / 500, RGB(0, 0, 0))) {}
    ~CoverObjects() {
        for (const HGDIOBJ object : {Title, Label, Value, Thick, Thin}) {
            if (object != nullptr) {
                DeleteObject(object);
            }
        }
    }
    CoverObjects(const CoverObjects&) = delete;
    CoverObjects& operator=(const CoverObjects&) = delete;

    bool Complete() const {
        return Title != nullptr && Label != nullptr && Value != nullptr && Thick != nullptr &&
               Thin != nullptr;
    }
};

// Draws on the page at a position that moves down the page as the sections are laid out.
class CoverPainter {
  public:
    CoverPainter(HDC dc, const CoverLayout& layout)
        : dc_(dc), layout_(layout), x_(layout.Left), y_(layout.Height / 20) {}

    void Down(int32_t step) { y_ += step; }
    void Indented(bool indented) { x_ = layout_.Left + (indented ? layout_.Indent : 0); }
    int32_t X() const { return x_; }
    int32_t Y() const { return y_; }
    void MoveTo(int32_t y) { y_ = y; }

    void Text(std::u16string_view text) {
        MoveToEx(dc_, x_, y_, nullptr);
        TextOutW(dc_, x_, y_, text.data(), static_cast<int32_t>(text.size()));
    }
    void Rule(HPEN pen) {
        SelectObject(dc_, pen);
        MoveToEx(dc_, layout_.Left, y_, nullptr);
        LineTo(dc_, layout_.RuleEnd, y_);
    }
    void Use(HFONT font) { SelectObject(dc_, font); }

  private:
    HDC dc_;
    const CoverLayout& layout_;
    int32_t x_;
    int32_t y_;
};

void SendPageCount(HDC dc, const CoverLayout& layout, const CoverPainter& painter,
                   const std::u16string& label, int32_t sheets) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, label.data(), static_cast<int32_t>(label.size()), &extent);
    const int32_t labelHeight = layout.FontHeight(300);
    const int32_t width = MulDiv(extent.cx, labelHeight, 72);
    const int32_t height = MulDiv(extent.cy, labelHeight, 72);
    char text[PassThroughRoom];
    const int length = std::snprintf(text, sizeof text, PageCountFormat, layout.Left + width,
                                     painter.Y() + height / 2, layout.FontHeight(400), sheets);
    PassThrough(dc, std::string_view(text, static_cast<size_t>(std::max(length, 0))));
}

void DrawSections(HDC dc, const CoverLayout& layout, const CoverObjects& objects,
                  const settings::FaxSettings& fax, int32_t sheets) {
    using settings::CoverNotesSection;
    using settings::CoverRecipientSection;
    using settings::CoverSenderSection;
    const uint32_t sections = fax.FaxCoverSections;
    CoverPainter page(dc, layout);
    page.Use(objects.Title);
    SelectObject(dc, objects.Thick);
    page.Text(Line(IDS_FAX_COVER_TITLE));
    page.Down(layout.Step);
    page.Rule(objects.Thick);

    page.Down(layout.Step);
    page.Use(objects.Label);
    const std::u16string label = Line(IDS_FAX_COVER_PAGES_LABEL);
    page.Text(label);
    page.Use(objects.Value);
    SendPageCount(dc, layout, page, label, sheets);
    page.Down(layout.SmallStep);
    page.Rule(objects.Thin);

    const bool recipient = (sections & CoverRecipientSection) != 0;
    page.Down(layout.SmallStep);
    if (recipient) {
        page.Use(objects.Label);
        page.Text(Line(IDS_FAX_COVER_TO));
    }
    page.Indented(true);
    page.Down(layout.Step);
    if (recipient) {
        page.Use(objects.Value);
        page.Text(Line(IDS_FAX_COVER_RECIPIENT_NAME, FieldText(fax.FaxRecipientName)));
    }
    page.Down(layout.SmallStep);
    if (recipient) {
        page.Text(Line(IDS_FAX_COVER_RECIPIENT_FAX, FieldText(fax.FaxNumber)));
    }
    page.Indented(false);
    page.Down(layout.SmallStep);
    if (recipient) {
        page.Rule(objects.Thin);
    }

    const bool sender = (sections & CoverSenderSection) != 0;
    page.Down(layout.SmallStep);
    if (sender) {
        page.Use(objects.Label);
        page.Text(Line(IDS_FAX_COVER_FROM));
    }
    page.Indented(true);
    page.Down(layout.Step);
    if (sender) {
        page.Use(objects.Value);
        page.Text(Line(IDS_FAX_COVER_SENDER_NAME, FieldText(fax.FaxSenderName)));
    }
    const struct {
        uint32_t Prefix;
        std::u16string_view Value;
    } senderLines[] = {
        {IDS_FAX_COVER_SENDER_COMPANY, FieldText(fax.FaxSenderCompany)},
        {IDS_FAX_COVER_SENDER_ADDRESS, FieldText(fax.FaxSenderAddress)},
        {IDS_FAX_COVER_SENDER_FAX, FieldText(fax.FaxSenderFaxNumber)},
        {IDS_FAX_COVER_SENDER_VOICE, FieldText(fax.FaxSenderVoiceNumber)},
        {IDS_FAX_COVER_SENDER_EMAIL, FieldText(fax.FaxSenderEmail)},
    };
    for (const auto& line : senderLines) {
        page.Down(layout.SmallStep);
        if (sender) {
            page.Text(Line(line.Prefix, line.Value));
        }
    }
    page.Indented(false);
    page.Down(layout.SmallStep);
    if (sender) {
        page.Rule(objects.Thin);
    }

    const bool notes = (sections & CoverNotesSection) != 0;
    page.Down(layout.SmallStep);
    if (notes) {
        page.Use(objects.Label);
        page.Text(Line(IDS_FAX_COVER_NOTES));
    }
    page.Indented(true);
    page.Down(layout.Step);
    const int32_t bottom = layout.Height - layout.Height / 20;
    if (notes) {
        page.Use(objects.Value);
        SetTextAlign(dc, TA_NOUPDATECP);
        const std::u16string_view text = FieldText(fax.FaxNotes);
        RECT box{};
        SetRect(&box, page.X(), page.Y(), layout.RuleEnd - layout.Indent, bottom);
        DrawTextW(dc, text.data(), static_cast<int32_t>(text.size()), &box,
                  DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
    page.Indented(false);
    page.MoveTo(bottom);
    page.Rule(objects.Thick);
}

}  // namespace

bool WantsFaxCoverPage(const PluginDevmode& settings) {
    return settings.OutputDestination == static_cast<uint32_t>(settings::OutputDestination::Fax) &&
           settings.Fax.FaxSendCoverPage != 0;
}

void DrawFaxCoverPage(HDC dc, const PluginDevmode& settings, const DEVMODEW& publicMode,
                      int32_t sheets) {
    if (dc == nullptr || sheets < 0 ||
        (settings.Fax.FaxCoverSections & settings::CoverAllSections) == 0) {
        return;
    }
    const CoverLayout layout = LayoutFor(dc, publicMode);
    const CoverObjects objects(layout);
    if (!objects.Complete()) {
        return;
    }
    const int32_t on = 1;
    ExtEscape(dc, EscSetCoverPageMode, sizeof on, reinterpret_cast<const char*>(&on), 0, nullptr);
    if (StartPage(dc) <= 0) {
        return;
    }
    PassThrough(dc, CoverMark);
    const uint32_t oldAlign = SetTextAlign(dc, TA_UPDATECP);
    const HGDIOBJ oldFont = SelectObject(dc, objects.Value);
    const HGDIOBJ oldPen = SelectObject(dc, objects.Thin);
    DrawSections(dc, layout, objects, settings.Fax, sheets);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    if (oldAlign != GDI_ERROR) {
        SetTextAlign(dc, oldAlign);
    }
    EndPage(dc);
}

}  // namespace qv::ui
