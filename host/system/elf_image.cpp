#include "host/system/elf_image.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace host {

namespace {

class File {
public:
    explicit File(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat info {};
        if (fd_ >= 0 && ::fstat(fd_, &info) == 0) {
            size_ = static_cast<uint64_t>(info.st_size);
        }
    }
    ~File() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool Read(uint64_t offset, void* buffer, uint64_t count) const {
        if (fd_ < 0 || offset > size_ || count > size_ - offset) {
            return false;
        }
        return ::pread(fd_, buffer, count, static_cast<off_t>(offset)) == static_cast<ssize_t>(count);
    }

private:
    int fd_;
    uint64_t size_ = 0;
};

}  // namespace

std::optional<ElfSection> FindElfSection(const std::string& path, std::string_view name) {
    File file(path);
    Elf64_Ehdr header{};
    if (!file.Read(0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr) ||
        header.e_shstrndx >= header.e_shnum) {
        return std::nullopt;
    }
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    if (!file.Read(header.e_shoff, sections.data(), sections.size() * sizeof(Elf64_Shdr))) {
        return std::nullopt;
    }
    const Elf64_Shdr& names = sections[header.e_shstrndx];
    if (names.sh_size > (1u << 20)) {
        return std::nullopt;
    }
    std::string nameTable(names.sh_size, '\0');
    if (!file.Read(names.sh_offset, nameTable.data(), nameTable.size())) {
        return std::nullopt;
    }
    for (const Elf64_Shdr& section : sections) {
        if (section.sh_name >= nameTable.size() || section.sh_type == SHT_NOBITS) {
            continue;
        }
        const char* sectionName = nameTable.c_str() + section.sh_name;
        if (name == sectionName) {
            ElfSection found{section.sh_offset, section.sh_addr, section.sh_size,
                             (section.sh_flags & SHF_ALLOC) != 0};
            char probe = 0;
            if (found.Size > 0 && !file.Read(found.FileOffset + found.Size - 1, &probe, 1)) {
                return std::nullopt;
            }
            return found;
        }
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> ReadElfSection(const std::string& path, std::string_view name) {
    const std::optional<ElfSection> section = FindElfSection(path, name);
    if (!section) {
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(section->Size);
    if (!File(path).Read(section->FileOffset, bytes.data(), bytes.size())) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace host
