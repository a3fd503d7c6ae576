// DzBasicCamera: the host's concrete camera.
//
// What still differs from the host: only the constructor is declared. The
// host's camera has its lens, depth-of-field and display properties and its
// drawing and projection members, none of which the plug-in calls.
#pragma once

#include "dzcamera.h"

class DZ_EXPORT DzBasicCamera : public DzCamera {
    Q_OBJECT
public:
    explicit DzBasicCamera(DzCamera::CameraType type = PERSPECTIVE_CAMERA,
                           bool isViewCamera = false);
    ~DzBasicCamera() override;
};
