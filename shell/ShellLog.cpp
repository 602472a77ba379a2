#include "ShellLog.h"

// Debug lines are off unless QT_LOGGING_RULES="vireda.shell.debug=true".
Q_LOGGING_CATEGORY(lcShell, "vireda.shell", QtInfoMsg)
