#pragma once

#include <QLoggingCategory>

// Failures the records code passes over without a box (printing, settings
// writes, the unattended automatic weighing) are written here.
Q_DECLARE_LOGGING_CATEGORY(diarioRegistos)
