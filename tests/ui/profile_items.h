// Host option items made by a test: every kind of item the profile store meets, with the storage
// their pointers reach, and a sheet state that carries them with a working copy.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/property_sheet_ui.h"
#include "settings/settings.h"
#include "ui/core/sheet_state.h"

namespace testing_support {

class TestItems {
  public:
    // A list item of `options` choices named by text (empty name: by public id only).
    platform::OPTITEM& Add(uint8_t type, uint8_t publicId, std::u16string name, uint16_t options,
                           int32_t selection, const char* keyword = nullptr) {
        auto storage = std::make_unique<Storage>();
        storage->Name = std::move(name);
        storage->Options.resize(options);
        for (uint16_t i = 0; i < options; ++i) {
            storage->Options[i].cbSize = sizeof(platform::OPTPARAM);
            storage->Options[i].pData = u"choice";
        }
        storage->Type.cbSize = sizeof(platform::OPTTYPE);
        storage->Type.Type = type;
        storage->Type.Count = options;
        storage->Type.pOptParam = storage->Options.empty() ? nullptr : storage->Options.data();
        if (keyword != nullptr) {
            storage->Keyword = keyword;
            storage->UserData.dwSize = sizeof(platform::USERDATA);
            storage->UserData.pKeyWordName = storage->Keyword.c_str();
        }
        platform::OPTITEM item{};
        item.cbSize = sizeof item;
        item.pName = storage->Name.c_str();
        item.Sel = selection;
        item.pOptType = &storage->Type;
        item.DMPubID = publicId;
        item.UserData = keyword != nullptr ? reinterpret_cast<uintptr_t>(&storage->UserData) : 0;
        storage_.push_back(std::move(storage));
        items_.push_back(item);
        return items_.back();
    }
    // An edit-box item with a text buffer of 128 characters.
    platform::OPTITEM& AddEdit(std::u16string name, std::u16string_view text) {
        platform::OPTITEM& item = Add(platform::TVOT_EDITBOX, 0, std::move(name), 0, 0);
        auto& buffer = storage_.back()->Text;
        buffer.assign(128, u'\0');
        text.copy(buffer.data(), std::min<size_t>(text.size(), 127));
        item.pSel = buffer.data();
        return item;
    }
    platform::OPTITEM* Items() { return items_.data(); }
    uint32_t Count() const { return static_cast<uint32_t>(items_.size()); }
    // Room reserved so that adding items never moves the ones already handed out.
    TestItems() { items_.reserve(64); }

  private:
    struct Storage {
        std::u16string Name;
        std::vector<platform::OPTPARAM> Options;
        platform::OPTTYPE Type{};
        std::string Keyword;
        platform::USERDATA UserData{};
        std::u16string Text;
    };
    std::vector<std::unique_ptr<Storage>> storage_;
    std::vector<platform::OPTITEM> items_;
};

// A zero-filled state with a default working copy and the items as the host's.
inline std::unique_ptr<qv::ui::SheetState> StateWith(TestItems& items) {
    auto state = std::make_unique<qv::ui::SheetState>();
    qv::settings::ApplyDefaults(&state->Working);
    state->HostItems = items.Items();
    state->HostItemCount = items.Count();
    return state;
}

}  // namespace testing_support
