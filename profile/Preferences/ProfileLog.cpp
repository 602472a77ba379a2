#include "ProfileLog.h"

// Debug lines are off unless QT_LOGGING_RULES="vireda.profile.debug=true".
Q_LOGGING_CATEGORY(lcProfile, "vireda.profile", QtInfoMsg)
