// A platform for the desktop core's tests: code pages simulated in memory, a set of
// installed faces, a registry of one value, and the message line as a record.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform.h"

namespace desktop_testing {

// A code page of the fake: Latin-1 (each unit below 256 one byte, others "?"), or a
// double-byte page in which units above 255 take two bytes (lead 0x81 + high byte,
// then the low byte) and bytes 0x80 to 0xFF are lead bytes when read back.
enum class FakePage { Latin1, DoubleByte };

class FakePlatform : public desktop::Platform {
public:
    FakePage thread = FakePage::Latin1;
    FakePage system = FakePage::Latin1;
    // Misbehaviours of a conversion adapter, to see the core survive them.
    long queryBias = 0;        // added to every size query's answer
    bool failConversions = false;

    std::set<std::u16string> faces;  // installed faces (exact names)
    bool allFaces = false;

    desktop::RegistryValue stored;    // the one registry value
    std::u16string storedSubKey, storedName;
    bool failWrites = false;
    int reads = 0, writes = 0;

    std::vector<std::u16string> messages;  // every SetMessageLine, in order

    long ToNarrow(desktop::CodePage page, const char16_t* text, std::size_t count, char* out,
                  std::size_t capacity) override {
        if (failConversions) return -1;
        std::string bytes;
        const FakePage p = page == desktop::CodePage::Thread ? thread : system;
        for (std::size_t i = 0; i < count; ++i) {
            const char16_t c = text[i];
            if (c < 256) bytes += static_cast<char>(c);
            else if (p == FakePage::DoubleByte) bytes += {'\x81', static_cast<char>(c & 0xFF)};
            else bytes += '?';
        }
        if (capacity == 0) return static_cast<long>(bytes.size()) + queryBias;
        if (bytes.size() > capacity) {
            for (std::size_t i = 0; i < capacity; ++i) out[i] = bytes[i];  // partial, as Windows does
            return -1;
        }
        for (std::size_t i = 0; i < bytes.size(); ++i) out[i] = bytes[i];
        return static_cast<long>(bytes.size());
    }

    long ToWide(desktop::CodePage page, const char* bytes, std::size_t count, char16_t* out,
                std::size_t capacity) override {
        if (failConversions) return -1;
        std::u16string text;
        const FakePage p = page == desktop::CodePage::Thread ? thread : system;
        for (std::size_t i = 0; i < count; ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (p == FakePage::DoubleByte && b >= 0x80) {
                if (i + 1 >= count) { text += u'?'; break; }  // a lead byte at the end
                text += static_cast<char16_t>(0x3000 + static_cast<unsigned char>(bytes[++i]));
            } else {
                text += static_cast<char16_t>(b);
            }
        }
        if (capacity == 0) return static_cast<long>(text.size()) + queryBias;
        if (text.size() > capacity) return -1;
        for (std::size_t i = 0; i < text.size(); ++i) out[i] = text[i];
        return static_cast<long>(text.size());
    }

    bool IsFontInstalled(std::u16string_view face) override {
        return allFaces || faces.count(std::u16string(face)) > 0;
    }

    desktop::RegistryValue ReadRegistryValue(std::u16string_view subKey, std::u16string_view name) override {
        ++reads;
        if (subKey != storedSubKey || name != storedName) return {};
        return stored;
    }

    bool WriteRegistryString(std::u16string_view subKey, std::u16string_view name,
                             std::u16string_view text) override {
        ++writes;
        if (failWrites) return false;
        storedSubKey = subKey;
        storedName = name;
        stored = {true, desktop::kRegistryString, {}};
        for (char16_t c : text) {
            stored.data.push_back(static_cast<std::uint8_t>(c & 0xFF));
            stored.data.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        stored.data.push_back(0);
        stored.data.push_back(0);
        return true;
    }

    void SetMessageLine(std::u16string_view message) override { messages.emplace_back(message); }

    // The last message shown (empty when the line was cleared last).
    std::u16string line() const { return messages.empty() ? std::u16string() : messages.back(); }
};

}  // namespace desktop_testing
