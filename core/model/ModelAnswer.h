// The one way the programs read a capability answer of the model data: a ModelAnswer asks
// (capability, item, view) and owns the answer's bytes; callers take typed answer records out of
// it (the layouts of SpcPaperAnswers.h, SpcListAnswers.h, SpcFinishAnswers.h and
// SpcFixedAnswers.h), never past the answer's end.
#pragma once

#include "core/WinTypes.h"
#include "core/model/SpcAnswer.h"
#include "core/model/SpcData.h"
#include "core/model/SpcIds.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

class ModelAnswer {
public:
    // Both forms ask `query`, or the model data reader's SpcQuery when it is null (tests answer
    // for a model of their own through it).

    // The whole answer: its size is asked first, then the records are fetched into a zeroed buffer
    // of that size. Answered when both queries answer 0; found when the answer also has a byte.
    ModelAnswer(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, SpcReaderFn query = nullptr);

    // An answer of at most `capacity` bytes, for a record of known size: one query into a zeroed
    // buffer of that size. Found when the query answers 0 (an answer that needs more is not
    // found); the whole buffer stays readable and is 0 wherever the answer wrote nothing.
    ModelAnswer(const tagSPCDATA* data, SHORT capability, SHORT item, LONG view, DWORD capacity,
                SpcReaderFn query = nullptr);

    // The query answered 0, perhaps with an empty answer (a list without records).
    bool Answered() const { return m_answered; }
    // The code of the query that failed (13 without model data, 8 when memory ran out), or 0.
    DWORD Result() const { return m_result; }
    // The query answered 0 with at least one byte.
    bool Found() const { return m_answered && m_size != 0; }
    // Records answered; 0 when not answered.
    DWORD Count() const { return m_count; }
    // Readable bytes: those of the answer (whole answer) or the capacity (at most `capacity`).
    size_t Size() const { return m_size; }
    const BYTE* Bytes() const { return m_bytes.get(); }

    // True when the answer holds the `cb` bytes at `offset`.
    bool Holds(size_t offset, size_t cb) const { return offset <= m_size && cb <= m_size - offset; }

    // True when record `index` of layout T holds the whole of `field`.
    template <typename T, typename F>
    bool Holds(F T::*field, size_t index = 0) const
    {
        static_assert(std::is_standard_layout_v<T> && std::is_trivially_copyable_v<T>, "answer records are plain");
        static const T probe{};
        const size_t at = static_cast<size_t>(reinterpret_cast<const BYTE*>(&(probe.*field)) -
                                              reinterpret_cast<const BYTE*>(&probe));
        return index < m_size / sizeof(T) + 1 && Holds(index * sizeof(T) + at, sizeof(F));
    }

    // Copies `field` of record `index` of layout T into *value when the answer holds the whole of it.
    template <typename T, typename F>
    bool ReadField(F T::*field, F* value, size_t index = 0) const
    {
        if (!Holds(field, index)) {
            return false;
        }
        *value = Record<T>(index).*field;
        return true;
    }

    // Record `index` of layout T, copied out of the answer; bytes the answer does not hold read 0.
    template <typename T>
    T Record(size_t index = 0) const
    {
        static_assert(std::is_standard_layout_v<T> && std::is_trivially_copyable_v<T>, "answer records are plain");
        T record{};
        const size_t at = index * sizeof(T);
        if (index < m_size / sizeof(T) + 1 && at < m_size) {
            const size_t cb = m_size - at < sizeof(T) ? m_size - at : sizeof(T);
            std::memcpy(&record, m_bytes.get() + at, cb);
        }
        return record;
    }

    // Records of layout T that lie wholly inside the answer, never more than the count answered.
    template <typename T>
    DWORD WholeRecords() const
    {
        const size_t whole = m_size / sizeof(T);
        return m_count < whole ? m_count : static_cast<DWORD>(whole);
    }

    // Copies of those whole records.
    template <typename T>
    std::vector<T> Records() const
    {
        std::vector<T> records(WholeRecords<T>());
        if (!records.empty()) {
            std::memcpy(records.data(), m_bytes.get(), records.size() * sizeof(T));
        }
        return records;
    }

    // Copies the text of a char field of `cchField` bytes at `offset` into `out` (`cchOut` bytes,
    // always terminated): it ends at its terminator, the field's end or the answer's end. Answers
    // its length.
    size_t Text(size_t offset, size_t cchField, char* out, size_t cchOut) const;

private:
    struct Free {
        void operator()(BYTE* p) const { std::free(p); }
    };
    // calloc'd, so that an answer too large for memory is not answered rather than fatal.
    std::unique_ptr<BYTE, Free> m_bytes;
    size_t m_size = 0;
    DWORD m_count = 0;
    DWORD m_result = ERROR_INVALID_DATA;
    bool m_answered = false;
};
