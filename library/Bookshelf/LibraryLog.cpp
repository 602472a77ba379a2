#include "LibraryLog.h"

Q_LOGGING_CATEGORY(lcLibrary, "vireda.library", QtInfoMsg)
