#include "core/codec/FinishingMaps.h"

#include <cstddef>

namespace {

struct CodePair {
    WORD record;
    WORD model;
};

// dmFinisher codes carry the finisher kind in the high byte and the variant in the low byte.
constexpr CodePair kFinishers[] = {
    {0, 1}, {1, 2}, {2, 5}, {257, 3}, {513, 4}, {514, 6}, {769, 7}, {770, 8}, {771, 9},
};

constexpr CodePair kPunches[] = {{1, 3}, {2, 1}, {3, 2}};

// The model's id for "no stapling" and "no punching".
constexpr WORD kModelNone = 99;

template <size_t N>
WORD RecordToModel(const CodePair (&pairs)[N], WORD record)
{
    for (const CodePair& p : pairs) {
        if (p.record == record) {
            return p.model;
        }
    }
    return 0;
}

template <size_t N>
WORD ModelToRecord(const CodePair (&pairs)[N], WORD model)
{
    for (const CodePair& p : pairs) {
        if (p.model == model) {
            return p.record;
        }
    }
    return 0;
}

}  // namespace

WORD FinisherToModelId(WORD wFinisher)
{
    return RecordToModel(kFinishers, wFinisher);
}

WORD ModelIdToFinisher(WORD wModelId)
{
    // Model id 1 is "no finishing", which the record spells as 0 anyway.
    return ModelToRecord(kFinishers, wModelId);
}

WORD StapleToModelId(WORD wStaple)
{
    if (wStaple == 0) {
        return kModelNone;
    }
    return wStaple <= 6 ? wStaple : 0;
}

WORD ModelIdToStaple(WORD wModelId)
{
    return wModelId >= 1 && wModelId <= 6 ? wModelId : 0;
}

WORD PunchToModelId(WORD wPunch)
{
    if (wPunch == 0) {
        return kModelNone;
    }
    return RecordToModel(kPunches, wPunch);
}

WORD ModelIdToPunch(WORD wModelId)
{
    return ModelToRecord(kPunches, wModelId);
}
