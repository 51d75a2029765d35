#include "host/windows/dialog_template.h"

#include "platform/windows.h"

namespace host {

namespace {

// Sequential little-endian reader that fails instead of reading past the end.
class TemplateReader {
  public:
    explicit TemplateReader(std::span<const uint8_t> data) : data_(data) {}

    bool Failed() const { return failed_; }
    size_t Position() const { return position_; }

    uint16_t U16() {
        if (!Need(2)) {
            return 0;
        }
        const uint16_t value = data_[position_] | (data_[position_ + 1] << 8);
        position_ += 2;
        return value;
    }
    uint32_t U32() {
        const uint32_t low = U16();
        return low | (static_cast<uint32_t>(U16()) << 16);
    }
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint8_t U8() {
        if (!Need(1)) {
            return 0;
        }
        return data_[position_++];
    }
    std::u16string Text() {
        std::u16string text;
        for (uint16_t c = U16(); !failed_ && c != 0; c = U16()) {
            text.push_back(static_cast<char16_t>(c));
        }
        return text;
    }
    // A text or, after 0xFFFF, a number; *ordinal is 0 for a text.
    std::u16string TextOrOrdinal(uint16_t* ordinal) {
        *ordinal = 0;
        if (!Need(2)) {
            return {};
        }
        if (data_[position_] == 0xFF && data_[position_ + 1] == 0xFF) {
            position_ += 2;
            *ordinal = U16();
            return {};
        }
        return Text();
    }
    std::vector<uint8_t> Bytes(size_t count) {
        if (!Need(count)) {
            return {};
        }
        std::vector<uint8_t> bytes(data_.begin() + position_, data_.begin() + position_ + count);
        position_ += count;
        return bytes;
    }
    void AlignTo4() {
        const size_t aligned = (position_ + 3) & ~size_t{3};
        position_ = aligned <= data_.size() ? aligned : data_.size();
    }

  private:
    bool Need(size_t count) {
        if (failed_ || count > data_.size() - position_) {
            failed_ = true;
            return false;
        }
        return true;
    }

    std::span<const uint8_t> data_;
    size_t position_ = 0;
    bool failed_ = false;
};

std::u16string PredefinedClass(uint16_t ordinal) {
    switch (ordinal) {
        case 0x0080:
            return u"Button";
        case 0x0081:
            return u"Edit";
        case 0x0082:
            return u"Static";
        case 0x0083:
            return u"ListBox";
        case 0x0084:
            return u"ScrollBar";
        case 0x0085:
            return u"ComboBox";
        default:
            return {};
    }
}

bool ReadItem(TemplateReader& reader, DialogItemTemplate& item, std::string* error) {
    reader.AlignTo4();
    item.HelpId = reader.U32();
    item.ExStyle = reader.U32();
    item.Style = reader.U32();
    item.X = reader.I16();
    item.Y = reader.I16();
    item.Cx = reader.I16();
    item.Cy = reader.I16();
    item.Id = static_cast<int32_t>(reader.U32());
    uint16_t classOrdinal = 0;
    item.ClassName = reader.TextOrOrdinal(&classOrdinal);
    if (classOrdinal != 0) {
        item.ClassName = PredefinedClass(classOrdinal);
        if (item.ClassName.empty() && !reader.Failed()) {
            *error = "control " + std::to_string(item.Id) + " names unknown class ordinal " +
                     std::to_string(classOrdinal);
            return false;
        }
    }
    item.Text = reader.TextOrOrdinal(&item.TextOrdinal);
    const uint16_t extra = reader.U16();
    item.CreationData = reader.Bytes(extra);
    return !reader.Failed();
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(std::span<const uint8_t> data,
                                                  std::string* error) {
    std::string ignored;
    error = error != nullptr ? error : &ignored;
    error->clear();
    TemplateReader reader(data);
    DialogTemplate result;
    const uint16_t version = reader.U16();
    const uint16_t signature = reader.U16();
    if (reader.Failed() || version != 1 || signature != 0xFFFF) {
        *error = "not a DIALOGEX template";
        return std::nullopt;
    }
    result.HelpId = reader.U32();
    result.ExStyle = reader.U32();
    result.Style = reader.U32();
    const uint16_t count = reader.U16();
    result.X = reader.I16();
    result.Y = reader.I16();
    result.Cx = reader.I16();
    result.Cy = reader.I16();
    uint16_t ordinal = 0;
    reader.TextOrOrdinal(&ordinal);  // menu: dialogs of this system have none
    result.ClassName = reader.TextOrOrdinal(&ordinal);
    result.Caption = reader.Text();
    if ((result.Style & (platform::DS_SETFONT | platform::DS_FIXEDSYS)) != 0) {
        result.PointSize = reader.U16();
        result.Weight = reader.U16();
        result.Italic = reader.U8() != 0;
        reader.U8();  // character set
        result.FontFace = reader.Text();
    }
    if (reader.Failed()) {
        *error = "template header is truncated";
        return std::nullopt;
    }
    result.Items.resize(count);
    for (uint16_t i = 0; i < count; ++i) {
        if (!ReadItem(reader, result.Items[i], error)) {
            if (error->empty()) {
                *error = "control " + std::to_string(i) + " of " + std::to_string(count) +
                         " is truncated";
            }
            return std::nullopt;
        }
    }
    return result;
}

}  // namespace host
