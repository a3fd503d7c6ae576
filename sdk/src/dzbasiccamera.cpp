#include "dzbasiccamera.h"

DzBasicCamera::DzBasicCamera(DzCamera::CameraType type, bool isViewCamera)
    : DzCamera(type, isViewCamera) {}

DzBasicCamera::~DzBasicCamera() = default;
