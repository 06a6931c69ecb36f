// The run curve of the drive so far in a window of its own (Display menu), with a button that drives the same
// service by the automatic driver and draws its curve over this one.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "sim/run_record.h"

class QWidget;

namespace vesk::app {

// `autopilotDrive` makes the automatic driver's record of the service (it may throw); none: no button.
void showRunCurve(QWidget* parent, const sim::RunRecord& record, const std::string& title,
                  std::function<std::unique_ptr<sim::RunRecord>()> autopilotDrive = {});

}  // namespace vesk::app
