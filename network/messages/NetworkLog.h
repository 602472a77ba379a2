#pragma once

#include <QLoggingCategory>

// Diagnostics of the network manager and its messages ("vireda.network").
Q_DECLARE_LOGGING_CATEGORY(lcNetwork)
