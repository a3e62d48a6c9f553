#include "gui/kit/RecordingOwner.h"

namespace orvgui {

const char* NotifyName(Notify kind)
{
    switch (kind) {
    case Notify::BtnClicked:
        return "BtnClicked";
    case Notify::SelectChanged:
        return "SelectChanged";
    case Notify::EditChanged:
        return "EditChanged";
    case Notify::ValueChanged:
        return "ValueChanged";
    case Notify::Paint:
        return "Paint";
    case Notify::Focus:
        return "Focus";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& os, const Notification& n)
{
    os << "{" << NotifyName(n.kind) << ", " << n.nID;
    if (n.kind == Notify::Focus) {
        os << (n.nDetail ? ", in" : ", out");
    }
    return os << "}";
}

std::vector<Notification> RecordingOwner::Of(Notify kind) const
{
    std::vector<Notification> out;
    for (const Notification& n : m_log) {
        if (n.kind == kind) {
            out.push_back(n);
        }
    }
    return out;
}

void RecordingOwner::OnNofityBtnClicked(int nID)
{
    m_log.push_back({Notify::BtnClicked, nID});
    if (m_bPassOn) {
        xWidget::OnNofityBtnClicked(nID);
    }
}

void RecordingOwner::OnNofitySelectChanged(int nID)
{
    m_log.push_back({Notify::SelectChanged, nID});
    if (m_bPassOn) {
        xWidget::OnNofitySelectChanged(nID);
    }
}

void RecordingOwner::OnNofityEditChanged(int nID)
{
    m_log.push_back({Notify::EditChanged, nID});
    if (m_bPassOn) {
        xWidget::OnNofityEditChanged(nID);
    }
}

void RecordingOwner::OnNofityValueChanged(int nID)
{
    m_log.push_back({Notify::ValueChanged, nID});
    if (m_bPassOn) {
        xWidget::OnNofityValueChanged(nID);
    }
}

int RecordingOwner::OnNofityPaint(int nID, GdkEventExpose* pEvent)
{
    m_log.push_back({Notify::Paint, nID});
    return m_bPassOn ? xWidget::OnNofityPaint(nID, pEvent) : m_nAnswer;
}

int RecordingOwner::OnNofityFocus(int nID, short bIn)
{
    m_log.push_back({Notify::Focus, nID, bIn ? 1 : 0});
    return m_bPassOn ? xWidget::OnNofityFocus(nID, bIn) : m_nAnswer;
}

}  // namespace orvgui
