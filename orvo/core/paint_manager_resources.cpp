#include <string>

#include "orvo/manager.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Orvo {
namespace {

std::unique_ptr<ImgResInfo> MakeImgResInfo(std::unique_ptr<Gdiplus::Image> image, int count,
                                           std::wstring key) {
    if (image == nullptr) {
        return nullptr;
    }
    auto info = std::make_unique<ImgResInfo>();
    const int width = static_cast<int>(image->GetWidth());
    // A count below 1 would divide by zero; such a strip has one frame.
    info->frameCount = count < 1 ? 1 : count;
    info->frameWidth = width / info->frameCount;
    info->frameHeight = static_cast<int>(image->GetHeight());
    info->image = std::move(image);
    info->key = std::move(key);
    return info;
}

}  // namespace

ImgResInfo* PaintManager::AddImgResInfo(const wchar_t* fileName, int count) {
    if (fileName == nullptr || *fileName == L'\0') {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(m_imageLock);
    const auto found = m_imagesByFile.find(fileName);
    if (found != m_imagesByFile.end()) {
        // The first request fixed the frame count for the whole window.
        return found->second.get();
    }
    const std::wstring path = Manager::GetSkinDirectory() + fileName;
    std::unique_ptr<ImgResInfo> info =
        MakeImgResInfo(MRender::LoadImageFromFile(path.c_str()), count, fileName);
    if (info == nullptr) {
        return nullptr;
    }
    ImgResInfo* stored = info.get();
    m_imagesByFile.emplace(fileName, std::move(info));
    return stored;
}

ImgResInfo* PaintManager::AddImgResInfo(UINT resourceId, const wchar_t* resourceType, int count,
                                        int fromApplication) {
    if (resourceType == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(m_imageLock);
    auto& images = fromApplication ? m_imagesByAppResource : m_imagesByOrvoResource;
    const auto found = images.find(resourceId);
    if (found != images.end()) {
        return found->second.get();
    }
    const HMODULE module = fromApplication ? Manager::GetInstance() : Manager::GetOrvoInstance();
    std::unique_ptr<ImgResInfo> info =
        MakeImgResInfo(MRender::LoadImageFromIDResource(resourceId, resourceType, module), count,
                       std::to_wstring(resourceId));
    if (info == nullptr) {
        return nullptr;
    }
    ImgResInfo* stored = info.get();
    images.emplace(resourceId, std::move(info));
    return stored;
}

void PaintManager::ClearImgResInfo() {
    std::lock_guard<std::recursive_mutex> lock(m_imageLock);
    m_imagesByFile.clear();
    m_imagesByAppResource.clear();
    m_imagesByOrvoResource.clear();
}

HANDLE PaintManager::AddGDITempFont(UINT resourceId, const wchar_t* resourceType) {
    const HMODULE module = Manager::GetOrvoInstance();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), resourceType);
    if (resource == nullptr) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return nullptr;
    }
    DWORD fonts = 0;
    HANDLE handle = ::AddFontMemResourceEx(bytes, size, nullptr, &fonts);
    if (handle == nullptr) {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(m_fontLock);
    m_gdiFontHandles.push_back(handle);
    return handle;
}

Gdiplus::FontFamily* PaintManager::AddTempFont(const wchar_t* familyName, const wchar_t* fontFile) {
    if (familyName == nullptr || fontFile == nullptr) {
        return nullptr;
    }
    auto collection = std::make_unique<Gdiplus::PrivateFontCollection>();
    if (collection->AddFontFile(fontFile) != Gdiplus::Ok || collection->GetFamilyCount() <= 0) {
        return nullptr;
    }
    Gdiplus::FontFamily family;
    int found = 0;
    if (collection->GetFamilies(1, &family, &found) != Gdiplus::Ok || found < 1) {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(m_fontLock);
    auto& cached = m_fontFamilies[familyName];
    cached.reset(family.Clone());
    m_fontCollections.push_back(std::move(collection));
    return cached.get();
}

Gdiplus::FontFamily* PaintManager::AddTempFont(const wchar_t* familyName, UINT resourceId) {
    if (familyName == nullptr) {
        return nullptr;
    }
    const HMODULE module = Manager::GetOrvoInstance();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"ttf");
    if (resource == nullptr) {
        return nullptr;
    }
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return nullptr;
    }
    auto collection = std::make_unique<Gdiplus::PrivateFontCollection>();
    if (collection->AddMemoryFont(bytes, static_cast<INT>(size)) != Gdiplus::Ok ||
        collection->GetFamilyCount() <= 0) {
        return nullptr;
    }
    Gdiplus::FontFamily family;
    int found = 0;
    if (collection->GetFamilies(1, &family, &found) != Gdiplus::Ok || found < 1) {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(m_fontLock);
    auto& cached = m_fontFamilies[familyName];
    cached.reset(family.Clone());
    m_fontCollections.push_back(std::move(collection));
    return cached.get();
}

Gdiplus::FontFamily* PaintManager::FindTempFont(const wchar_t* familyName) {
    if (familyName == nullptr || *familyName == L'\0') {
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(m_fontLock);
    const auto found = m_fontFamilies.find(familyName);
    if (found != m_fontFamilies.end()) {
        return found->second.get();
    }
    auto family = std::make_unique<Gdiplus::FontFamily>(familyName);
    if (family->GetLastStatus() != Gdiplus::Ok || !family->IsAvailable()) {
        return nullptr;
    }
    Gdiplus::FontFamily* stored = family.get();
    m_fontFamilies.emplace(familyName, std::move(family));
    return stored;
}

void PaintManager::ClearTempFont() {
    std::lock_guard<std::recursive_mutex> lock(m_fontLock);
    for (HANDLE handle : m_gdiFontHandles) {
        ::RemoveFontMemResourceEx(handle);
    }
    m_gdiFontHandles.clear();
    m_fontFamilies.clear();
    m_fontCollections.clear();
}

}  // namespace Orvo
