#include "dzplugin.h"

DzPlugin::DzPlugin(const QString& name, const QString& author, const QString& description,
                   ushort major, ushort minor, ushort revision, ushort build)
    : m_name(name), m_author(author), m_description(description),
      m_version(major, minor, revision, build) {
    setObjectName(name);
}

DzPlugin::~DzPlugin() = default;

void DzPlugin::addClassFactory(DzClassFactory* factory) {
    if (factory != nullptr) {
        m_factories.append(factory);
    }
}
