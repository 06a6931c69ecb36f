// The run curve of the drive so far in a window of its own (Display menu).
#pragma once

#include <string>

#include "sim/run_record.h"

class QWidget;

namespace vesk::app {

void showRunCurve(QWidget* parent, const sim::RunRecord& record, const std::string& title);

}  // namespace vesk::app
