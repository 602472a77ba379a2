#include "AuthoringLog.h"

Q_LOGGING_CATEGORY(lcAuthoring, "vireda.authoring", QtInfoMsg)
