// DzSkinBinding: the modifier that binds a figure's geometry to its bones, one
// DzBoneBinding per bone. Only DzFigure creates it (see DzFigure::getSkinBinding).
// The skin binding owns its bone bindings.
//
// Deformation (apply): linear blend skinning of the rest-space vertices. With
// P(x) = x's placement (DzNode: getRestWSTransform()^-1 * getWSTransform()), each
// bone binding b moves vertex k by its weight w_bk towards where the bone takes it,
// relative to the node that holds the geometry:
//   v'_k = v_k + sum over b of w_bk * (v_k * P(bone_b) * P(node)^-1 - v_k)
// so a vertex with weights summing to 1 follows its bones, and the part of a
// vertex's weight that is missing stays with the node (DzObject::finalize then
// moves everything by P(node)). applyInverse solves the same blend backwards per
// vertex (a vertex whose blended transform is singular is left as it is).
// Choices of the stand-in where the host's behaviour is not known:
// - A binding deforms by its general map (DzBoneBinding::getWeights). One without
//   a general map but with local (TriAx) maps deforms by their average
//   (DzBoneBinding::createAveragedGeneralMap with DEFAULT_AVERAGE); the scale map
//   is not used for deformation. A binding without maps or without a bone does
//   nothing.
// - A weight map longer than the mesh has vertices is read as far as the mesh
//   goes; a shorter one leaves the vertices past its end unweighted.
// - Weights are not normalised: they blend as they are.
// The cost is linear in vertices and weights.
//
// What still differs from the host: the skin binding is not a scene asset;
// getFigure is the stand-in's own; weight normalisation, bulges and the
// accumulator class of the host's header are left out.
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

    DzError apply(DzVertexMesh& mesh, DzNode& node) override;
    DzError applyInverse(DzVertexMesh& mesh, DzNode& node) override;
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
    convertToGeneralMaps(DzBoneBinding::LocalAveragingOption opt = DzBoneBinding::DEFAULT_AVERAGE);

protected:
    friend class DzFigure;
    explicit DzSkinBinding(DzFigure* owner);

private:
    // Per vertex, the blended rest-space transform minus the identity (four rows
    // of three, as DzMatrix3 holds them).
    std::vector<double> blendedOffsets(const DzVertexMesh& mesh, DzNode& node) const;

    QPointer<DzFigure> m_figure;
    std::vector<DzBoneBinding*> m_bindings;
};
