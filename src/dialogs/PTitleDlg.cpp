#include "PTitleDlg.h"

#include "../res/resource.h"

PTitleDlg::PTitleDlg() : fw::Dialog(IDD_CHANGE_TITLE) {}

void PTitleDlg::DoDataExchange(fw::DataExchange& exchange)
{
    exchange.Text(IDC_TITLE_EDIT, m_title);
}
