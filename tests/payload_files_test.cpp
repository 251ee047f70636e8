// Checks the five game files the installer carries, as built into KW_PAYLOAD_DIR: the headers, imports
// and exports of the two Windows binaries, the structure of the asset archive and the exact form of the
// two text files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#ifndef KW_PAYLOAD_DIR
#error "KW_PAYLOAD_DIR must name the directory holding the built payload files"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Load(const std::string& name) {
    const std::string path = std::string(KW_PAYLOAD_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t Read(const Bytes& b, std::size_t at, int size) {
    if (at > b.size() || static_cast<std::size_t>(size) > b.size() - at) {
        throw std::out_of_range("read past the end of the file at " + std::to_string(at));
    }
    std::uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
    return v;
}

std::string Text(const Bytes& b, std::size_t at, std::size_t size) {
    if (at > b.size() || size > b.size() - at) throw std::out_of_range("text past the end of the file");
    return std::string(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + size));
}

std::uint32_t U16(const Bytes& b, std::size_t at) { return Read(b, at, 2); }
std::uint32_t U32(const Bytes& b, std::size_t at) { return Read(b, at, 4); }

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

constexpr std::uint16_t kMachineI386 = 0x14c;
constexpr std::uint16_t kPe32Magic = 0x10b;
constexpr std::uint16_t kFileExecutable = 0x0002;
constexpr std::uint16_t kFile32BitMachine = 0x0100;
constexpr std::uint16_t kFileDll = 0x2000;
constexpr std::uint16_t kSubsystemGui = 2;

// Just enough of a PE reader to answer the questions below; every read is bounds-checked and throws on a
// malformed file.
class PeFile {
public:
    explicit PeFile(Bytes bytes) : b_(std::move(bytes)) {
        if (U16(b_, 0) != 0x5A4D) throw std::runtime_error("no MZ header");
        const std::uint32_t pe = U32(b_, 0x3C);
        if (U32(b_, pe) != 0x00004550) throw std::runtime_error("no PE signature");
        const std::size_t coff = pe + 4;
        machine = static_cast<std::uint16_t>(U16(b_, coff));
        const std::uint32_t sectionCount = U16(b_, coff + 2);
        const std::uint32_t optionalSize = U16(b_, coff + 16);
        characteristics = static_cast<std::uint16_t>(U16(b_, coff + 18));
        const std::size_t opt = coff + 20;
        magic = static_cast<std::uint16_t>(U16(b_, opt));
        if (magic != kPe32Magic) return;  // the tests report it; the rest of the layout would differ
        subsystem = static_cast<std::uint16_t>(U16(b_, opt + 68));
        const std::uint32_t dirCount = U32(b_, opt + 92);
        for (std::uint32_t i = 0; i < dirCount && i < 16; ++i) {
            dirRva_[i] = U32(b_, opt + 96 + i * 8);
            dirSize_[i] = U32(b_, opt + 100 + i * 8);
        }
        const std::size_t sections = opt + optionalSize;
        for (std::uint32_t i = 0; i < sectionCount; ++i) {
            const std::size_t s = sections + i * 40;
            sections_.push_back({U32(b_, s + 12), std::max(U32(b_, s + 8), U32(b_, s + 16)), U32(b_, s + 20)});
        }
    }

    std::uint16_t machine = 0;
    std::uint16_t characteristics = 0;
    std::uint16_t magic = 0;
    std::uint16_t subsystem = 0;

    std::set<std::string> Exports() const {
        std::set<std::string> names;
        if (dirSize_[0] == 0) return names;
        const std::size_t dir = Offset(dirRva_[0]);
        const std::uint32_t count = U32(b_, dir + 24);
        const std::uint32_t table = U32(b_, dir + 32);
        for (std::uint32_t i = 0; i < count; ++i) names.insert(String(U32(b_, Offset(table + i * 4))));
        return names;
    }

    // Imported DLL name, lower-cased, to the names of the functions taken from it ("#n" for ordinals).
    std::map<std::string, std::set<std::string>> Imports() const {
        std::map<std::string, std::set<std::string>> imports;
        if (dirSize_[1] == 0) return imports;
        for (std::size_t d = Offset(dirRva_[1]);; d += 20) {
            const std::uint32_t lookup = U32(b_, d);
            const std::uint32_t name = U32(b_, d + 12);
            const std::uint32_t thunks = U32(b_, d + 16);
            if (lookup == 0 && name == 0 && thunks == 0) break;
            std::set<std::string>& functions = imports[Lower(String(name))];
            for (std::size_t t = Offset(lookup ? lookup : thunks);; t += 4) {
                const std::uint32_t entry = U32(b_, t);
                if (entry == 0) break;
                functions.insert(entry & 0x80000000u ? "#" + std::to_string(entry & 0xFFFF) : String(entry + 2));
            }
        }
        return imports;
    }

private:
    struct Section {
        std::uint32_t rva;
        std::uint32_t size;
        std::uint32_t raw;
    };

    std::size_t Offset(std::uint32_t rva) const {
        for (const Section& s : sections_) {
            if (rva >= s.rva && rva - s.rva < s.size) return s.raw + (rva - s.rva);
        }
        throw std::out_of_range("RVA outside every section: " + std::to_string(rva));
    }

    std::string String(std::uint32_t rva) const {
        std::string s;
        for (std::size_t at = Offset(rva); Read(b_, at, 1) != 0; ++at) s.push_back(static_cast<char>(b_[at]));
        return s;
    }

    Bytes b_;
    std::array<std::uint32_t, 16> dirRva_{};
    std::array<std::uint32_t, 16> dirSize_{};
    std::vector<Section> sections_;
};

const std::set<std::string> kEngineFunctions = {"E3D_ApiVersion", "E3D_RackBalls", "E3D_DrawTable",
                                                "E3D_DrawBalls"};

// DLLs every Windows installation has; anything else (a MinGW runtime DLL above all) would be missing on
// the player's machine.
const std::set<std::string> kSystemDlls = {"kernel32.dll", "user32.dll", "gdi32.dll",   "msvcrt.dll",
                                           "advapi32.dll", "shell32.dll", "ole32.dll",  "comctl32.dll",
                                           "comdlg32.dll", "winmm.dll",   "ntdll.dll"};

struct BinaryCase {
    const char* file;
    bool dll;
    std::set<std::string> requiredImports;
};

void PrintTo(const BinaryCase& c, std::ostream* os) { *os << c.file; }

class BinaryTest : public testing::TestWithParam<BinaryCase> {};

TEST_P(BinaryTest, IsA32BitWindowsImageOfTheRightKind) {
    const BinaryCase& c = GetParam();
    const PeFile pe(Load(c.file));
    EXPECT_EQ(pe.machine, kMachineI386);
    EXPECT_EQ(pe.magic, kPe32Magic);
    EXPECT_TRUE(pe.characteristics & kFileExecutable);
    EXPECT_TRUE(pe.characteristics & kFile32BitMachine);
    EXPECT_EQ((pe.characteristics & kFileDll) != 0, c.dll);
    if (!c.dll) {
        EXPECT_EQ(pe.subsystem, kSubsystemGui);
    }
}

TEST_P(BinaryTest, ImportsOnlySystemDllsBesidesTheEngine) {
    const BinaryCase& c = GetParam();
    const auto imports = PeFile(Load(c.file)).Imports();
    for (const std::string& required : c.requiredImports) EXPECT_EQ(imports.count(required), 1u) << required;
    for (const auto& [dll, functions] : imports) {
        EXPECT_TRUE(kSystemDlls.count(dll) || c.requiredImports.count(dll)) << c.file << " needs " << dll;
        EXPECT_FALSE(functions.empty()) << dll;
    }
}

INSTANTIATE_TEST_SUITE_P(Payload, BinaryTest,
                         testing::Values(BinaryCase{"PlayKestrowin.exe", false, {"engine3d.dll"}},
                                         BinaryCase{"Engine3D.dll", true, {}}),
                         [](const testing::TestParamInfo<BinaryCase>& info) { return info.param.dll ? "Dll" : "Exe"; });

TEST(EngineDll, ExportsTheEngineFunctions) {
    const std::set<std::string> exports = PeFile(Load("Engine3D.dll")).Exports();
    for (const std::string& function : kEngineFunctions) EXPECT_EQ(exports.count(function), 1u) << function;
}

// Catches a game and engine built from mismatched sources: the loader would refuse to start the game.
TEST(GameExe, TakesFromTheEngineOnlyWhatItExports) {
    const auto imports = PeFile(Load("PlayKestrowin.exe")).Imports();
    const auto engine = imports.find("engine3d.dll");
    ASSERT_TRUE(engine != imports.end()) << "Engine3D.dll is not imported";
    const std::set<std::string> exports = PeFile(Load("Engine3D.dll")).Exports();
    for (const std::string& function : engine->second) EXPECT_EQ(exports.count(function), 1u) << function;
}

std::uint32_t Crc32(const Bytes& b, std::size_t at, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = at; i < at + size; ++i) {
        crc ^= b[i];
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

TEST(AssetsZip, CentralDirectoryAndLocalEntriesAgree) {
    const Bytes zip = Load("Assets.zip");
    ASSERT_GE(zip.size(), 22u);
    std::size_t eocd = zip.size() - 22;
    const std::size_t lowest = zip.size() - 22 > 0xFFFF ? zip.size() - 22 - 0xFFFF : 0;
    while (U32(zip, eocd) != 0x06054b50) {
        ASSERT_GT(eocd, lowest) << "no end of central directory record";
        --eocd;
    }
    const std::uint32_t entries = U16(zip, eocd + 10);
    const std::uint32_t centralSize = U32(zip, eocd + 12);
    const std::uint32_t centralOffset = U32(zip, eocd + 16);
    ASSERT_GT(entries, 0u);
    EXPECT_EQ(U16(zip, eocd + 8), entries) << "entries on this disk differ from the total";
    ASSERT_EQ(static_cast<std::size_t>(centralOffset) + centralSize, eocd);

    std::set<std::string> names;
    std::size_t at = centralOffset;
    for (std::uint32_t i = 0; i < entries; ++i) {
        ASSERT_EQ(U32(zip, at), 0x02014b50u) << "central entry " << i;
        const std::uint32_t method = U16(zip, at + 10);
        const std::uint32_t crc = U32(zip, at + 16);
        const std::uint32_t packed = U32(zip, at + 20);
        const std::uint32_t size = U32(zip, at + 24);
        const std::uint32_t nameLength = U16(zip, at + 28);
        const std::uint32_t local = U32(zip, at + 42);
        const std::string name = Text(zip, at + 46, nameLength);
        SCOPED_TRACE(name);
        EXPECT_TRUE(names.insert(name).second) << "duplicate entry";
        EXPECT_FALSE(name.empty() || name[0] == '/' || name.find("..") != std::string::npos ||
                     name.find('\\') != std::string::npos)
            << "unsafe path";

        ASSERT_EQ(U32(zip, local), 0x04034b50u) << "local header";
        EXPECT_EQ(U16(zip, local + 26), nameLength);
        const std::size_t data = local + 30 + U16(zip, local + 26) + U16(zip, local + 28);
        EXPECT_EQ(Text(zip, local + 30, nameLength), name);
        ASSERT_LE(data + packed, centralOffset);
        ASSERT_TRUE(method == 0 || method == 8) << "method " << method;
        if (method == 0) {
            EXPECT_EQ(packed, size);
            EXPECT_EQ(Crc32(zip, data, size), crc);
        }
        at += 46 + nameLength + U16(zip, at + 30) + U16(zip, at + 32);
    }
    EXPECT_EQ(at, eocd);
    EXPECT_EQ(names.count("table/table.txt"), 1u);
}

struct TextCase {
    const char* file;
    int lines;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.file; }

class TextFileTest : public testing::TestWithParam<TextCase> {};

TEST_P(TextFileTest, IsPrintableAsciiWithExactlyTheseCrLfLines) {
    const TextCase& c = GetParam();
    const Bytes text = Load(c.file);
    ASSERT_GE(text.size(), 2u);
    int lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t ch = text[i];
        if (ch == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at byte " << i;
        } else if (ch == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at byte " << i;
            ++lines;
        } else {
            ASSERT_TRUE(ch >= 0x20 && ch < 0x7F) << "byte " << i << " is " << static_cast<int>(ch);
        }
    }
    EXPECT_EQ(text[text.size() - 2], '\r');
    EXPECT_EQ(text[text.size() - 1], '\n');
    EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(Payload, TextFileTest,
                         testing::Values(TextCase{"TroubleShooting_Guide.txt", 50}, TextCase{"OgreMITLicense.txt", 30}),
                         [](const testing::TestParamInfo<TextCase>& info) {
                             return info.param.lines == 50 ? "Guide" : "Licence";
                         });

}  // namespace
