// An owner that records every notification that reaches it, as (kind, id) pairs in arrival order.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "gui/widgets/xWidget.h"

namespace orvgui {

enum class Notify { BtnClicked, SelectChanged, EditChanged, ValueChanged, Paint, Focus };

const char* NotifyName(Notify kind);

struct Notification {
    Notify kind;
    int nID;
    // For focus: nonzero in, 0 out; 0 for the others.
    int nDetail = 0;

    bool operator==(const Notification& other) const
    {
        return kind == other.kind && nID == other.nID && nDetail == other.nDetail;
    }
};

std::ostream& operator<<(std::ostream& os, const Notification& n);

class RecordingOwner : public xWidget {
public:
    // pOwner: where notifications go on when passing on is on. The recorder has no widget.
    explicit RecordingOwner(xWidget* pOwner = nullptr, int nID = -1) : xWidget(pOwner, nID) {}

    void OnNofityBtnClicked(int nID) override;
    void OnNofitySelectChanged(int nID) override;
    void OnNofityEditChanged(int nID) override;
    void OnNofityValueChanged(int nID) override;
    int OnNofityPaint(int nID, GdkEventExpose* pEvent) override;
    int OnNofityFocus(int nID, short bIn) override;

    const std::vector<Notification>& Log() const { return m_log; }
    // Only the entries of one kind.
    std::vector<Notification> Of(Notify kind) const;
    void Clear() { m_log.clear(); }

    // Also pass every notification on to the recorder's own owner (as a class that does not
    // override it would).
    bool m_bPassOn = false;
    // The answer of OnNofityPaint and OnNofityFocus when not passing on.
    int m_nAnswer = 0;

private:
    std::vector<Notification> m_log;
};

}  // namespace orvgui
