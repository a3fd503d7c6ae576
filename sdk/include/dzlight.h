// DzLight: a light source; a camera as in the host. Abstract.
//
// What still differs from the host: the host's constructor is public (the class
// is abstract through pure virtuals); isOn, the shadow type and the OpenGL
// members are left out. QColor comes in whole here, as it does in the host through
// its node header's style includes.
#pragma once

#include "dzcamera.h"

#include <QtGui/QColor>

class DZ_EXPORT DzLight : public DzCamera {
    Q_OBJECT
public:
    ~DzLight() override;

public slots:
    virtual QColor getDiffuseColor() const = 0;
    // True for lights that shine along one direction from infinity.
    virtual bool isDirectional() const { return true; }
    // The light's -Z axis in world space at the scene's current time.
    virtual DzVec3 getWSDirection() const;

protected:
    DzLight();
};
