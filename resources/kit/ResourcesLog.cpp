#include "ResourcesLog.h"

// Debug lines are off unless QT_LOGGING_RULES="vireda.resources.debug=true".
Q_LOGGING_CATEGORY(lcResources, "vireda.resources", QtInfoMsg)
