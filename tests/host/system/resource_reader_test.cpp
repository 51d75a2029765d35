#include "host/system/resource_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "host/system/elf_image.h"

namespace {

using host::ResourceTable;

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

TEST(ResourceReader, ReadsTheModulesStringTables) {
    const auto ui = ReadFile(QV_RSRC_UI);
    const auto render = ReadFile(QV_RSRC_RENDER);
    const auto uiTable = ResourceTable::Parse(ui);
    const auto renderTable = ResourceTable::Parse(render);
    ASSERT_TRUE(uiTable && renderTable);

    EXPECT_EQ(u"宋体", uiTable->LoadString(96).value_or(u"?"));
    EXPECT_FALSE(renderTable->LoadString(96));
    for (const ResourceTable* table : {&*uiTable, &*renderTable}) {
        EXPECT_EQ(u"%Username%", table->LoadString(1610).value_or(u"?"));
        EXPECT_EQ(u"%modelname%", table->LoadString(1710).value_or(u"?"));
        EXPECT_EQ(u"%", table->LoadString(1720).value_or(u"?"));
        EXPECT_FALSE(table->LoadString(1611));  // same block, empty slot
        EXPECT_FALSE(table->LoadString(70000));
        EXPECT_NE(nullptr, table->Find(16, 1));  // version information
    }
}

TEST(ResourceReader, TheModuleCarriesTheSameResourcesInItsSection) {
    const auto section = host::ReadElfSection(QV_MODULE_DIR "/qvpsui.so", ".rsrc");
    ASSERT_TRUE(section);
    const auto table = ResourceTable::Parse(*section);
    ASSERT_TRUE(table);
    EXPECT_EQ(u"宋体", table->LoadString(96).value_or(u"?"));
    EXPECT_FALSE(host::FindElfSection(QV_RSRC_UI, ".rsrc"));  // not an ELF file at all
}

TEST(ResourceReader, RefusesEveryTruncationInsideAnEntry) {
    const auto image = ReadFile(QV_RSRC_UI);
    const auto whole = ResourceTable::Parse(image);
    ASSERT_TRUE(whole);
    // Each prefix either ends exactly between entries or is refused; none is read past.
    for (size_t length = 0; length < image.size(); ++length) {
        std::vector<uint8_t> prefix(image.begin(), image.begin() + length);
        const auto table = ResourceTable::Parse(prefix);
        if (table) {
            EXPECT_LE(table->Entries().size(), whole->Entries().size()) << length;
        }
    }
}

TEST(ResourceReader, RefusesCorruptHeaders) {
    const auto image = ReadFile(QV_RSRC_UI);
    // The first entry is the 32-byte format marker; the second starts at 32.
    struct Case {
        const char* name;
        size_t offset;
        uint32_t value;
    };
    const Case cases[] = {
        {"data size past the end", 32, 0x7FFFFFF0},
        {"header size past the end", 36, 0x7FFFFFF0},
        {"header size too small", 36, 8},
        {"data size wraps the offset", 32, 0xFFFFFFFF},
    };
    for (const Case& test : cases) {
        auto corrupt = image;
        PutU32(corrupt, test.offset, test.value);
        EXPECT_FALSE(ResourceTable::Parse(corrupt)) << test.name;
    }
}

TEST(ResourceReader, StringBlockWithOverlongCountIsRefused) {
    auto image = ReadFile(QV_RSRC_UI);
    auto table = ResourceTable::Parse(image);
    ASSERT_TRUE(table);
    const host::ResourceEntry* block = table->Find(6, 96 / 16 + 1);
    ASSERT_NE(nullptr, block);
    const size_t offset = static_cast<size_t>(block->Data.data() - image.data());
    image[offset] = 0xFF;  // string 96 claims 0x..FF units, more than the block holds
    image[offset + 1] = 0x7F;
    table = ResourceTable::Parse(image);
    ASSERT_TRUE(table);
    EXPECT_FALSE(table->LoadString(96));
    EXPECT_FALSE(table->LoadString(97));
}

}  // namespace
