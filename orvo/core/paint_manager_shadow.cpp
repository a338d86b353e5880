#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/shadow.h"

namespace Orvo {

int PaintManager::CreateShadow(int show, int force) {
    MShadow::Initialize(Manager::GetInstance(), force);
    EnsureShadow();
    m_shadowShow = show;
    m_shadow->ShowShadow(show);
    m_shadow->Create(this);
    return 1;
}

MShadow* PaintManager::EnsureShadow() {
    // The shadow's settings can be made before CreateShadow; they are kept in the object.
    if (m_shadow == nullptr) {
        m_shadow.reset(new MShadow());
    }
    return m_shadow.get();
}

int PaintManager::SetSize(int size) {
    return EnsureShadow()->SetSize(size);
}

int PaintManager::SetSharpness(UINT sharpness) {
    return EnsureShadow()->SetSharpness(sharpness);
}

int PaintManager::SetDarkness(UINT darkness) {
    return EnsureShadow()->SetDarkness(darkness);
}

int PaintManager::SetPosition(int x, int y) {
    return EnsureShadow()->SetPosition(x, y);
}

int PaintManager::SetShadowColor(ColorRef colour) {
    return EnsureShadow()->SetColor(colour);
}

int PaintManager::SetShadowImage(const wchar_t* fileName, const RECT& corner) {
    EnsureShadow();
    if (corner.left >= 0 && corner.top >= 0 && corner.right >= 0 && corner.bottom >= 0) {
        m_shadow->SetShadowCorner(corner);
    }
    return m_shadow->SetImage(fileName);
}

int PaintManager::SetShadowImage(UINT resourceId, const RECT& corner) {
    EnsureShadow();
    if (corner.left >= 0 && corner.top >= 0 && corner.right >= 0 && corner.bottom >= 0) {
        m_shadow->SetShadowCorner(corner);
    }
    return m_shadow->SetImage(resourceId);
}

int PaintManager::SetShadowShow(int show) {
    EnsureShadow();
    m_shadowShow = show;
    m_shadow->ShowShadow(show);
    return 1;
}

int PaintManager::DisableShadow(int off) {
    if (m_shadow == nullptr) {
        return 0;
    }
    m_shadow->DisableShadow(off);
    return 1;
}

}  // namespace Orvo
