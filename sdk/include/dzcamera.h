// DzCamera: a node that views the scene. Abstract (protected constructor); the
// concrete camera is DzBasicCamera, and every light is a camera too.
//
// What still differs from the host: the host's constructor is public (the class
// is abstract through its pure virtual lens and projection members, which are left
// out here); of the camera's own members only the type and isViewCamera are
// declared.
#pragma once

#include "dznode.h"

class DZ_EXPORT DzCamera : public DzNode {
    Q_OBJECT
public:
    enum CameraType {
        FRONT_CAMERA,
        BACK_CAMERA,
        LEFT_CAMERA,
        RIGHT_CAMERA,
        TOP_CAMERA,
        BOTTOM_CAMERA,
        PERSPECTIVE_CAMERA,
        ORTHO_CAMERA,
        GENERAL_CAMERA
    };
    ~DzCamera() override;

    CameraType getType() const { return m_type; }

public slots:
    bool isViewCamera() const { return m_isViewCamera; }

protected:
    DzCamera(CameraType type, bool isViewCam = false);

private:
    CameraType m_type;
    bool m_isViewCamera;
};
