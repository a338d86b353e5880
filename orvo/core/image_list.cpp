#include "orvo/image_list.h"

#include "orvo/image_strip.h"
#include "orvo/render.h"

namespace Orvo {

MImageList::MImageList() = default;

MImageList::~MImageList() {
    DelAllImages();
}

int MImageList::AddImage(const wchar_t* path, int id, int count) {
    return InsertImage(-1, path, id, count);
}

int MImageList::InsertImage(int index, const wchar_t* path, int id, int count) {
    if (path == nullptr) {
        return -1;
    }
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    const int size = static_cast<int>(m_records.size());
    if (index < -1 || index > size - 1) {
        return -1;
    }
    auto record = std::make_unique<_M_IAMGELIST>();
    record->image = MRender::LoadImageFromFile(path);
    record->id = id;
    record->count = count;
    record->path = path;
    if (record->image) {
        record->frameWidth = StripFrameWidth(static_cast<int>(record->image->GetWidth()), count);
        record->frameHeight = static_cast<int>(record->image->GetHeight());
    }
    if (index == -1) {
        m_records.push_back(std::move(record));
        return size;
    }
    m_records.insert(m_records.begin() + index, std::move(record));
    return -1;
}

void MImageList::DrawItemIcon(Gdiplus::Graphics* graphics, const RECT& rect, int index) {
    if (graphics == nullptr) {
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (index < 0 || index >= static_cast<int>(m_records.size())) {
        return;
    }
    const _M_IAMGELIST& record = *m_records[index];
    if (!record.image || record.frameWidth <= 0) {
        return;
    }
    MRender::DrawImageExact(
        graphics, record.image.get(),
        Gdiplus::Rect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top), 0, 0,
        record.frameWidth, record.frameHeight);
}

void MImageList::DrawItemIcon(Gdiplus::Graphics* graphics, const RECT& rect, int index, int frame) {
    if (graphics == nullptr) {
        return;
    }
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (index < 0 || index >= static_cast<int>(m_records.size())) {
        return;
    }
    const _M_IAMGELIST& record = *m_records[index];
    if (!record.image || record.frameWidth <= 0) {
        return;
    }
    const StripRect source = StripFrameRect(static_cast<int>(record.image->GetWidth()),
                                            record.frameHeight, record.count, frame);
    const int left = rect.left + (rect.right - rect.left - source.width) / 2;
    const int top = rect.top + (rect.bottom - rect.top - source.height) / 2;
    MRender::DrawImageExact(graphics, record.image.get(),
                            Gdiplus::Rect(left, top, source.width, source.height), source.x,
                            source.y, source.width, source.height);
}

void MImageList::SetDrawImgSize(int width, int height) {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_drawWidth = width;
    m_drawHeight = height;
}

SIZE MImageList::GetIconSize() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return SIZE{m_drawWidth, m_drawHeight};
}

const _M_IAMGELIST* MImageList::GetItemImageData(int index) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (index < 0 || index >= static_cast<int>(m_records.size())) {
        return nullptr;
    }
    return m_records[index].get();
}

const _M_IAMGELIST* MImageList::GetImageDataByID(int id) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (const auto& record : m_records) {
        if (record->id == id) {
            return record.get();
        }
    }
    return nullptr;
}

std::wstring MImageList::GetImagePath(int index) const {
    const _M_IAMGELIST* record = GetItemImageData(index);
    return record != nullptr ? record->path : std::wstring();
}

std::wstring MImageList::GetImagePathByID(int id) const {
    const _M_IAMGELIST* record = GetImageDataByID(id);
    return record != nullptr ? record->path : std::wstring();
}

int MImageList::GetImageCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return static_cast<int>(m_records.size());
}

void MImageList::DelAllImages() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    m_records.clear();
}

}  // namespace Orvo
