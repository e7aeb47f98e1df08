#pragma once
// What the whole program shares: its three windows, each created once at
// start and living until the end, and the kind of object the table chooser
// lists.
#include <QString>

class TfmMain;
class TfmTable;
class TfmJob;

extern TfmMain *fmMain;
extern TfmTable *fmTable;
extern TfmJob *fmJob;

// "TABLE" or "VIEW": set to "TABLE" by the main window at start, changed
// afterwards only by the table chooser; the table preview reads it.
extern QString ObjKind;
