#pragma once

#include <QLoggingCategory>

// Ambrevo's debug log ("ambrevo.recorder"): failures are written here as well as shown.
Q_DECLARE_LOGGING_CATEGORY(recorderLog)
