#include "StudyLog.h"

Q_LOGGING_CATEGORY(lcStudy, "vireda.study", QtInfoMsg)
