#pragma once

#include "AutoCopy.h"
#include "AutofillTemplate.h"
#include "RecordTable.h"
#include "SuggestionIndex.h"

#include <QColor>
#include <QString>

// The program-wide journal state, shared by the journal window and the record editor for the
// whole run.
struct Journal
{
    RecordTable table;
    // Records 1..RecordCount make up the journal.
    qint32 RecordCount = 0;
    // The record the editor works on.
    qint32 CurrentRecord = 0;
    // The journal file, as its messages name it.
    QString JournalPath;
    // 1 when the editor was opened by New, 0 when it was opened from the grid.
    qint16 NewRecordFlag = 0;
    // The background of the editor's text box that holds the focus.
    QColor FocusBackColor = QColor(255, 255, 0);
    // Read at start-up, saved from the editor, applied by New.
    AutofillTemplate autofill;
    // The copies the saves and the restore make of the journal file; off until started.
    AutoCopy autoCopy;
    // The editor's suggestions, made from the records once the journal is shown and brought up
    // to date by each editor; empty while they are off.
    SuggestionIndex suggestions;
};
