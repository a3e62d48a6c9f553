// A model data image written in the test, section by section, from the file layout: just the
// capabilities a settings-record test needs, with the values the test gives.
#pragma once

#include "core/WinTypes.h"

#include <cstring>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

// Little-endian words of one section or record.
class Words {
public:
    Words& u32(DWORD v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(static_cast<BYTE>(v >> (8 * i)));
        return *this;
    }
    Words& i32(LONG v) { return u32(static_cast<DWORD>(v)); }
    Words& words(std::initializer_list<DWORD> vs)
    {
        for (DWORD v : vs)
            u32(v);
        return *this;
    }
    Words& zeros(size_t n)
    {
        bytes_.insert(bytes_.end(), n, 0);
        return *this;
    }
    Words& text(const std::string& s, size_t size)
    {
        std::vector<BYTE> field(size, 0);
        std::memcpy(field.data(), s.data(), std::min(s.size(), size));
        bytes_.insert(bytes_.end(), field.begin(), field.end());
        return *this;
    }
    Words& append(const Words& other)
    {
        bytes_.insert(bytes_.end(), other.bytes_.begin(), other.bytes_.end());
        return *this;
    }
    const std::vector<BYTE>& bytes() const { return bytes_; }
    size_t size() const { return bytes_.size(); }

private:
    std::vector<BYTE> bytes_;
};

// Record shapes of the list capabilities the settings record reads.
namespace model_records {

// Paper record: id, sizes in 0.1 mm and dots; no lists, names or pairs.
inline Words Paper(DWORD id, DWORD widthTenthsMm, DWORD lengthTenthsMm)
{
    Words w;
    w.words({id, 0, 0, widthTenthsMm, lengthTenthsMm, widthTenthsMm * 600 / 254, lengthTenthsMm * 600 / 254});
    w.zeros(84 - 28);         // margins and pass-through words
    w.words({0, 0, 0, 0});    // valued lists A and B, empty
    w.zeros(144);             // name block
    w.words({0, 0});          // pair list, counted list
    w.zeros(12);              // closing words
    return w;
}

inline Words Media(DWORD id)
{
    Words w;
    w.words({id, 0}).zeros(24).words({0, 0, 0, 0}).zeros(144).u32(0).zeros(12);
    return w;
}

inline Words Source(DWORD id)
{
    Words w;
    w.words({id, 0}).zeros(24).words({0, 0, 0, 0}).zeros(80).u32(0).zeros(76);
    return w;
}

// Source group with its member source ids.
inline Words SourceGroup(DWORD groupId, DWORD kind, std::initializer_list<DWORD> sources)
{
    Words w;
    w.words({groupId, kind, 0, 0}).text("group", 16);
    w.u32(0);  // counted list
    w.u32(static_cast<DWORD>(sources.size()));
    for (DWORD id : sources) {
        w.words({id, 0, 0}).zeros(24);          // id, value, extra word, words 8..28 of a source
        w.words({0, 0, 0, 0}).zeros(80).u32(0).zeros(76);
    }
    return w;
}

// Custom-size limits: the sixteen limit values in file order (min/max widths and lengths in
// 0.1 mm and 1/600 inch, as the query answers them at 4 + 2i).
inline Words CustomLimits(std::initializer_list<DWORD> sixteen)
{
    Words w;
    w.u32(1).words(sixteen);
    for (size_t i = sixteen.size(); i < 16; ++i)
        w.u32(0);
    w.zeros(24);                       // six pass-through words
    w.words({0, 0, 0, 0});             // valued lists A and B
    w.zeros(72).u32(0).u32(0).zeros(12);
    return w;
}

}  // namespace model_records

// The image: header, section table of 102 entries, sections.
class ModelImageBuilder {
public:
    explicit ModelImageBuilder(WORD formatVersion = 316) : version_(formatVersion) {}

    ModelImageBuilder& section(SHORT capability, const Words& body)
    {
        sections_[capability] = body.bytes();
        return *this;
    }
    ModelImageBuilder& fixed(SHORT capability, std::initializer_list<DWORD> words)
    {
        return section(capability, Words().words(words));
    }
    // A list section: `header` words (the count word among them at `countIndex`), then records.
    ModelImageBuilder& list(SHORT capability, std::vector<DWORD> header, size_t countIndex,
                            const std::vector<Words>& records)
    {
        header[countIndex] = static_cast<DWORD>(records.size());
        Words body;
        for (DWORD h : header)
            body.u32(h);
        for (const Words& r : records)
            body.append(r);
        return section(capability, body);
    }

    std::vector<BYTE> build() const
    {
        constexpr DWORD kHeader = 56;
        constexpr DWORD kEntries = 102;
        const DWORD tableEnd = kHeader + 4 * kEntries;
        std::vector<DWORD> offsets(kEntries, 0);
        DWORD at = tableEnd;
        for (const auto& [cap, body] : sections_) {
            offsets[cap - 1] = at;
            at += static_cast<DWORD>(body.size());
        }
        Words image;
        image.u32(0x50534350).u32(at).u32(tableEnd).u32(kHeader).u32(0).u32(DWORD{version_} << 16);
        image.zeros(kHeader - 24);
        for (DWORD o : offsets)
            image.u32(o);
        std::vector<BYTE> bytes = image.bytes();
        for (const auto& [cap, body] : sections_)
            bytes.insert(bytes.end(), body.begin(), body.end());
        return bytes;
    }

private:
    WORD version_;
    std::map<SHORT, std::vector<BYTE>> sections_;
};
