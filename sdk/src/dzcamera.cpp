#include "dzcamera.h"

DzCamera::DzCamera(CameraType type, bool isViewCam) : m_type(type), m_isViewCamera(isViewCam) {}

DzCamera::~DzCamera() = default;
