// DzNumericController: a controller of a numeric property. apply takes the
// value so far (the property's own value, then each earlier controller's
// result in turn) and gives the value after this controller.
#pragma once

#include "dzcontroller.h"
#include "dzgeneraldefs.h"

class DZ_EXPORT DzNumericController : public DzController {
    Q_OBJECT
public:
    explicit DzNumericController(ControllerEffect effect);
    ~DzNumericController() override;

public slots:
    // local: the host's "local" evaluation; the stand-in has only the one.
    virtual double apply(double val, DzTime tm, bool local) const = 0;
    virtual double applyInverse(double val, DzTime, bool) const { return val; }
};
