// Small readers over a constraint item's observable state, shared by the item tests.
#pragma once

#include "core/kinsoku/KinsokuItem.h"

#include <initializer_list>
#include <vector>

namespace kinsoku_test {

// Key item ids as the engine numbers them; only their distinctness matters to the objects.
constexpr SHORT kKeyPaperClass = 205;
constexpr SHORT kKeyPunch = 219;
constexpr SHORT kKeyStaple = 220;
constexpr SHORT kKeyFinisher = 221;
constexpr SHORT kKeyDuplex = 225;
constexpr SHORT kKeyHalftone = 239;

inline void AddValues(CKinsokuItem& item, std::initializer_list<LONG> values)
{
    for (LONG v : values)
        item.AddValue(v, 0, 0);
}

// Values of the entries with an empty forbidding list, in entry order.
inline std::vector<LONG> SelectableValues(const CKinsokuItem& item)
{
    std::vector<LONG> out;
    const CObArray& atoms = item.GetAtomArray();
    for (int i = 0; i < atoms.GetSize(); i++) {
        const auto* pAtom = static_cast<const CKinsokuAtom*>(atoms.GetAt(i));
        if (pAtom->IsSelectable())
            out.push_back(pAtom->GetValue());
    }
    return out;
}

inline std::vector<LONG> AllValues(const CKinsokuItem& item)
{
    std::vector<LONG> out;
    const CObArray& atoms = item.GetAtomArray();
    for (int i = 0; i < atoms.GetSize(); i++)
        out.push_back(static_cast<const CKinsokuAtom*>(atoms.GetAt(i))->GetValue());
    return out;
}

// The key items forbidding the value's first entry, in list order.
inline std::vector<SHORT> ForbiddingKeys(const CKinsokuItem& item, LONG value)
{
    std::vector<SHORT> out(64, 0);
    const int n = item.GetForbiddingKeys(value, out.data(), static_cast<LONG>(out.size()));
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

inline std::vector<DWORD> AllowedList(const CValidRule& rule)
{
    std::vector<DWORD> out;
    for (int i = 0; i < rule.GetAllowedValues().GetSize(); i++)
        out.push_back(rule.GetAllowedValues().GetAt(i));
    return out;
}

}  // namespace kinsoku_test
