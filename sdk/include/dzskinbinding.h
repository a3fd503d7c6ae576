// DzSkinBinding: the modifier that binds a figure's geometry to its bones, one
// DzBoneBinding per bone. Only DzFigure creates it (see DzFigure::getSkinBinding).
// The skin binding owns its bone bindings.
#pragma once

#include "dzbonebinding.h"
#include "dzmodifier.h"

#include <QtCore/QPointer>

#include <vector>

class DzFigure;

class DZ_EXPORT DzSkinBinding : public DzModifier {
    Q_OBJECT
public:
    ~DzSkinBinding() override;

    bool isWeightMapModifier() const override { return true; }
    // True when some bone binding has local (per-axis) maps.
    bool isLocal();
    // True when no bone binding has local maps.
    bool isGeneral() { return !isLocal(); }

public slots:
    DzFigure* getFigure() const;
    int getNumBoneBindings() const { return int(m_bindings.size()); }
    // NULL when the index is out of range.
    DzBoneBinding* getBoneBinding(int index) const;
    // The first binding of this bone, or NULL.
    DzBoneBinding* findBoneBinding(DzNode* bone) const;
    // Takes ownership. DZ_ILLEGAL_ARGUMENT_ERROR for NULL, DZ_ILLEGAL_OPERATION_ERROR
    // when the binding is already in a skin binding.
    DzError addBoneBinding(DzBoneBinding* binding);
    // Deletes the binding.
    DzError removeBoneBinding(DzBoneBinding* binding);
    void removeAllBindings();
    // Gives every bone binding that has local maps a general map averaged as
    // DzBoneBinding::createAveragedGeneralMap describes, then drops its local
    // maps. Bindings without local maps are left alone, so the call can be
    // repeated. DZ_OPERATION_FAILED_ERROR when a binding's maps cannot be averaged
    // (that binding keeps its local maps; the others are still converted).
    DzError
    convertToGeneralMaps(DzBoneBinding::LocalAveragingOptions opt = DzBoneBinding::DEFAULT_AVERAGE);

protected:
    friend class DzFigure;
    explicit DzSkinBinding(DzFigure* owner);

private:
    QPointer<DzFigure> m_figure;
    std::vector<DzBoneBinding*> m_bindings;
};
