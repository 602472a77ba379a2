#pragma once

#include <QLoggingCategory>

// The search tab's diagnostics: QT_LOGGING_RULES="vireda.search.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSearch)
