// A printer port open for one job: a file path (the job replaces the file's content),
// socket://HOST:PORT (raw TCP, the printers' port 9100 protocol), null: (takes everything) or
// stdout: (the process's standard output, as a filter's printer is).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace host {

struct PortAddress {
    enum class Kind { Null, File, Socket, StandardOutput };
    Kind kind = Kind::Null;
    std::filesystem::path file;
    std::string host;
    std::string service;
};

class PortWriter {
  public:
    // nullopt for a port name that is none of these; a file must be an absolute POSIX or
    // Windows path (C:\..., \\server\share\...).
    static std::optional<PortAddress> Parse(std::u16string_view port);

    // Opens the first port of a comma-separated list. Null with the host's error code on failure.
    static std::unique_ptr<PortWriter> Open(std::u16string_view ports, uint32_t& error);

    ~PortWriter();
    PortWriter(const PortWriter&) = delete;
    PortWriter& operator=(const PortWriter&) = delete;

    // All of the bytes, or false with the host's error code; written counts what went out.
    bool Write(const void* data, size_t size, size_t& written, uint32_t& error);
    // Flushes and closes; a socket is shut down for writing, so the printer sees the job's end.
    bool Close(uint32_t& error);

  private:
    explicit PortWriter(int descriptor) : descriptor_(descriptor) {}

    int descriptor_;  // -1 for null:
};

}  // namespace host
