// A note window's colours, from the appearance dialog.
#include "PinvelWnd.h"

#include "../appearance/PAppearanceDlg.h"

void PinvelWnd::OnAppearance()
{
    PAppearanceDlg dialog;
    dialog.m_scheme = m_look->scheme;
    dialog.m_background = m_look->background;
    dialog.m_edge = m_look->edge;
    dialog.m_border = m_look->border;
    m_appearanceShown = *m_look;
    INT_PTR result = IDCANCEL;
    {
        ModalScope modal(*this);
        m_appearance = &dialog;
        result = dialog.DoModal(m_hWnd);
    }
    // The window may be gone (closed from the tray meanwhile); its object is not.
    m_appearance = nullptr;
    if (result != IDOK || Closed())
        return;
    ApplyAppearance(dialog);
}

void PinvelWnd::ApplyAppearance(const PAppearanceDlg& dialog)
{
    // What the user changed since the dialog opened or last applied, and only that: the
    // note may have taken another computer's colours meanwhile.
    NoteLook& shown = m_appearanceShown;
    if (dialog.m_scheme != shown.scheme)
        m_look->scheme = dialog.m_scheme;
    if (dialog.m_background != shown.background || dialog.m_edge != shown.edge || dialog.m_border != shown.border) {
        m_look->background = dialog.m_background;
        m_look->edge = dialog.m_edge;
        m_look->border = dialog.m_border;
        ApplyLook(*m_look);
    }
    shown.scheme = dialog.m_scheme;
    shown.background = dialog.m_background;
    shown.edge = dialog.m_edge;
    shown.border = dialog.m_border;
    if (m_host == nullptr)
        return;
    if (dialog.m_applyToVisible)
        m_host->ApplyLookToAll(*m_look);
    if (dialog.m_applyToNew)
        m_host->SetDefaultLook(*m_look);
}
