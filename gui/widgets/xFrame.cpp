#include "gui/widgets/xFrame.h"

#include "gui/widgets/xLabel.h"

xFrame::xFrame(xLabel* pLabel) : xBin(NULL, -1), m_pLabel(NULL)
{
    Attach(gtk_frame_new(NULL));
    if (pLabel != NULL) {
        gtk_frame_set_label_widget(GTK_FRAME(m_pWidget), pLabel->GetGtkWidget());
    }
}

xFrame::xFrame(const char* pszText) : xBin(NULL, -1), m_pLabel(new xLabel(pszText, NULL, -1, 0.5f, 0.5f))
{
    Attach(gtk_frame_new(NULL));
    gtk_frame_set_label_widget(GTK_FRAME(m_pWidget), m_pLabel->GetGtkWidget());
}

xFrame::~xFrame()
{
    delete m_pLabel;
}

void xFrame::SetMnemonicWidget(xWidget* pTarget)
{
    if (m_pLabel != NULL && pTarget != NULL) {
        m_pLabel->SetMnemonicWidget(pTarget);
    }
}
