#include "dznumericcontroller.h"

DzNumericController::DzNumericController(ControllerEffect effect) : DzController(effect) {}

DzNumericController::~DzNumericController() = default;
