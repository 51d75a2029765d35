// The host driver's document events: the driver's configuration module (its user-interface
// plug-in) loaded in the application's process, asked once which events it wants, and called
// with the job's printer handle and device context at those events.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/psdriver/ui_plugin_host.h"
#include "platform/gdi.h"

namespace host {

class DocumentEvents {
  public:
    // The events of the printer's driver; null when its configuration module cannot be loaded,
    // and the job then prints without them.
    static std::unique_ptr<DocumentEvents> Open(const std::u16string& printer,
                                                platform::HANDLE printerHandle);

    bool Wants(int32_t event) const;
    // The plug-in's answer (DOCUMENTEVENT_SUCCESS, ...), or DOCUMENTEVENT_UNSUPPORTED when the
    // event is not wanted or the plug-in's call fails.
    int32_t Send(int32_t event, platform::HDC dc);

  private:
    explicit DocumentEvents(platform::HANDLE printerHandle) : printer_(printerHandle) {}
    void QueryFilter();

    platform::HANDLE printer_;
    UiSession session_;
    // The events the plug-in named; none: the plug-in did not answer, and gets every event.
    std::optional<std::vector<uint32_t>> wanted_;
};

}  // namespace host
