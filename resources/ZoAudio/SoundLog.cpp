#include "SoundLog.h"

// Debug lines are off unless QT_LOGGING_RULES="vireda.sound.debug=true".
Q_LOGGING_CATEGORY(lcSound, "vireda.sound", QtInfoMsg)
