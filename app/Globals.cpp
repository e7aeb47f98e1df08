#include "app/Globals.h"

TfmMain *fmMain = nullptr;
TfmTable *fmTable = nullptr;
TfmJob *fmJob = nullptr;
QString ObjKind;
