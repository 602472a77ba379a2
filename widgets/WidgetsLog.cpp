#include "WidgetsLog.h"

// Debug lines are off unless QT_LOGGING_RULES="vireda.widgets.debug=true".
Q_LOGGING_CATEGORY(lcWidgets, "vireda.widgets", QtInfoMsg)
