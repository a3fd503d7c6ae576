#include "dzcontroller.h"

#include "dzproperty.h"

DzController::DzController(ControllerEffect effect) : m_effect(effect) {}

DzController::~DzController() {
    if (m_owner != nullptr) {
        m_owner->forgetController(this);
    }
}
