// The tray's recently deleted notes.
#include "PSysTray.h"

#include "../text/PIconMenu.h"

void PSysTray::FillDeleted(PIconMenu&)
{
    m_deletedEntries.clear();
}

void PSysTray::OnDeletedEntry(UINT) {}
