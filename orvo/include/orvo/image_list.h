#pragma once

#include <windows.h>
#include <gdiplus.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "orvo/orvo_api.h"

namespace Orvo {

// One image of an MImageList: a strip of `count` frames loaded from a full path.
struct _M_IAMGELIST {
    std::unique_ptr<Gdiplus::Image> image;  // null when the file could not be loaded
    int frameWidth = 0;
    int frameHeight = 0;
    int id = 0;
    int count = 1;
    std::wstring path;
};

// An ordered list of icon strips, drawn by index. The list owns its records and images; a
// lock guards them because the animation tick may draw from another thread.
class ORVO_API MImageList {
public:
    MImageList();
    ~MImageList();
    MImageList(const MImageList&) = delete;
    MImageList& operator=(const MImageList&) = delete;

    // Appends; returns the new index, or -1 for a null path.
    int AddImage(const wchar_t* path, int id, int count);
    // index -1 appends and returns the new index; 0 ... size - 1 inserts before it and
    // returns -1; anything else (or a null path) adds nothing and returns -1. A file that
    // cannot be loaded still adds a record without an image.
    int InsertImage(int index, const wchar_t* path, int id, int count);
    // Frame 0 of record index stretched over rect.
    void DrawItemIcon(Gdiplus::Graphics* graphics, const RECT& rect, int index);
    // Frame min(frame, count - 1) at its own size, centred in rect.
    void DrawItemIcon(Gdiplus::Graphics* graphics, const RECT& rect, int index, int frame);
    void SetDrawImgSize(int width, int height);
    SIZE GetIconSize() const;
    // Borrowed records; null when out of range or missing.
    const _M_IAMGELIST* GetItemImageData(int index) const;
    const _M_IAMGELIST* GetImageDataByID(int id) const;
    std::wstring GetImagePath(int index) const;
    std::wstring GetImagePathByID(int id) const;
    int GetImageCount() const;
    void DelAllImages();

private:
    mutable std::recursive_mutex m_lock;  // guards m_records, m_drawWidth, m_drawHeight
    std::vector<std::unique_ptr<_M_IAMGELIST>> m_records;
    int m_drawWidth = 0;
    int m_drawHeight = 0;
};

}  // namespace Orvo
