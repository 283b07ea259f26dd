// Any bytes given to the dBase table reader as a table and its memo file: no
// crash, no hang, no leak; a damaged file is refused with a DbfError or a
// StoreError. The input is the table's length (4 bytes, little-endian, taken
// modulo the rest), the table's bytes, then the memo file's bytes.
#include "platform/dbf/DbfFile.h"
#include "platform/store/Table.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <unistd.h>

namespace {

const std::string &workFolder()
{
    static const std::string folder = [] {
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        pattern += "/kv_fuzz_dbf_XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern;
    }();
    return folder;
}

void writeFile(const std::string &path, std::string_view bytes)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        std::abort();
    std::fclose(f);
}

// Every record and field through the file layer, memo texts included.
void walkFile(const std::string &path)
{
    auto file = kv::dbf::DbfFile::open(path, "T.DBF", false);
    const auto &fields = file->fields();
    for (std::uint32_t r = 0; r < file->recordCount(); ++r) {
        const std::string raw = file->readRecord(r);
        for (const kv::dbf::FieldDef &f : fields) {
            const std::string_view bytes =
                std::string_view(raw).substr(std::size_t(f.offset), std::size_t(f.length));
            if (f.type == kv::dbf::FieldType::Memo) {
                try {
                    (void)file->readMemo(bytes);
                } catch (const kv::dbf::DbfError &) {
                    // A damaged memo reference spoils this field only.
                }
            } else {
                (void)kv::dbf::decodeInteger(bytes, f.decimals);
                (void)kv::dbf::decodeText(bytes);
            }
        }
    }
}

// The same through the view the program reads its tables with.
void walkView(const std::string &path)
{
    kv::store::Table table;
    table.setFileName(path);
    table.setReadOnly(true);
    table.open();
    const int columns = static_cast<int>(table.fields().size());
    for (table.first(); !table.eof(); table.next())
        for (int c = 0; c < columns; ++c)
            (void)table.textField(table.fields()[std::size_t(c)].name);
    for (int row = 0; row < table.recordCount(); ++row)
        for (int c = 0; c < columns; ++c) {
            (void)table.integerAt(row, c);
            (void)table.textAt(row, c);
        }
    table.close();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t rest = size - 4;
    const std::uint32_t given = std::uint32_t(data[0]) | (std::uint32_t(data[1]) << 8) |
                                (std::uint32_t(data[2]) << 16) | (std::uint32_t(data[3]) << 24);
    const std::size_t tableLength = rest == 0 ? 0 : given % (rest + 1);
    const std::string table = workFolder() + "/T.DBF";
    writeFile(table, input.substr(4, tableLength));
    writeFile(workFolder() + "/T.DBT", input.substr(4 + tableLength));
    try {
        walkFile(table);
    } catch (const kv::dbf::DbfError &) {
    }
    try {
        walkView(table);
    } catch (const kv::dbf::DbfError &) {
    } catch (const kv::store::StoreError &) {
    }
    return 0;
}
