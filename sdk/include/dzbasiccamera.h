// DzBasicCamera: the host's concrete camera.
#pragma once

#include "dzcamera.h"

class DZ_EXPORT DzBasicCamera : public DzCamera {
    Q_OBJECT
public:
    explicit DzBasicCamera(DzCamera::CameraType type = PERSPECTIVE_CAMERA,
                           bool isViewCamera = false);
    ~DzBasicCamera() override;
};
