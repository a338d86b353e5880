#include "orvo/drag_drop.h"

#include <cstring>

#include "orvo/paint_manager.h"

namespace Orvo {
namespace {

// A format's target device, copied into task memory as OLE expects.
DVTARGETDEVICE* CopyTargetDevice(const DVTARGETDEVICE* device) {
    if (device == nullptr || device->tdSize < sizeof(DVTARGETDEVICE)) {
        return nullptr;
    }
    auto* copy = static_cast<DVTARGETDEVICE*>(::CoTaskMemAlloc(device->tdSize));
    if (copy != nullptr) {
        std::memcpy(copy, device, device->tdSize);
    }
    return copy;
}

FORMATETC CopyFormat(const FORMATETC& format) {
    FORMATETC copy = format;
    copy.ptd = CopyTargetDevice(format.ptd);
    return copy;
}

// IUnknown::QueryInterface of an object with one interface besides IUnknown.
HRESULT QueryOne(IUnknown* self, REFIID iid, REFIID own, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, own)) {
        *object = self;
        self->AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

template <typename Object>
ULONG ReleaseOne(Object* self, std::atomic<ULONG>& references) {
    const ULONG left = --references;
    if (left == 0) {
        delete self;
    }
    return left;
}

}  // namespace

bool CopyMedium(STGMEDIUM* destination, const STGMEDIUM* source, CLIPFORMAT format) {
    if (destination == nullptr || source == nullptr) {
        return false;
    }
    STGMEDIUM copy = {};
    copy.tymed = source->tymed;
    switch (source->tymed) {
        case TYMED_HGLOBAL: {
            const SIZE_T size = ::GlobalSize(source->hGlobal);
            const void* from = size != 0 ? ::GlobalLock(source->hGlobal) : nullptr;
            if (from == nullptr) {
                return false;
            }
            copy.hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, size);
            void* to = copy.hGlobal != nullptr ? ::GlobalLock(copy.hGlobal) : nullptr;
            if (to != nullptr) {
                std::memcpy(to, from, size);
                ::GlobalUnlock(copy.hGlobal);
            }
            ::GlobalUnlock(source->hGlobal);
            if (to == nullptr) {
                if (copy.hGlobal != nullptr) {
                    ::GlobalFree(copy.hGlobal);
                }
                return false;
            }
            break;
        }
        case TYMED_GDI:
            copy.hBitmap = static_cast<HBITMAP>(::OleDuplicateData(source->hBitmap, format, 0));
            if (copy.hBitmap == nullptr) {
                return false;
            }
            break;
        case TYMED_ENHMF:
            copy.hEnhMetaFile = ::CopyEnhMetaFileW(source->hEnhMetaFile, nullptr);
            if (copy.hEnhMetaFile == nullptr) {
                return false;
            }
            break;
        case TYMED_MFPICT:
            copy.hMetaFilePict = ::OleDuplicateData(source->hMetaFilePict, CF_METAFILEPICT, 0);
            if (copy.hMetaFilePict == nullptr) {
                return false;
            }
            break;
        default:
            return false;
    }
    *destination = copy;
    return true;
}

CIDropTarget::CIDropTarget(HWND hwnd) : m_hwnd(hwnd) {
    if (FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IDropTargetHelper, reinterpret_cast<void**>(&m_helper)))) {
        m_helper = nullptr;
    }
}

CIDropTarget::~CIDropTarget() {
    if (m_helper != nullptr) {
        m_helper->Release();
    }
    for (FORMATETC& format : m_formats) {
        ::CoTaskMemFree(format.ptd);
    }
}

void CIDropTarget::AddSuportedFormat(const FORMATETC& format) {
    m_formats.push_back(CopyFormat(format));
}

bool CIDropTarget::QueryDrop(DWORD keyState, DWORD* effect) const {
    if (effect == nullptr) {
        return false;
    }
    const DWORD allowed = *effect;
    *effect = DROPEFFECT_NONE;
    if (!m_accepted) {
        return false;
    }
    DWORD requested = DROPEFFECT_NONE;
    if ((keyState & MK_CONTROL) != 0) {
        requested = (keyState & MK_SHIFT) != 0 ? DROPEFFECT_LINK : DROPEFFECT_COPY;
    } else if ((keyState & MK_SHIFT) != 0) {
        requested = DROPEFFECT_MOVE;
    }
    if (requested != DROPEFFECT_NONE) {
        *effect = (allowed & requested) != 0 ? requested : DROPEFFECT_NONE;
    } else {
        for (const DWORD candidate : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
            if ((allowed & candidate) != 0) {
                *effect = candidate;
                break;
            }
        }
    }
    return *effect != DROPEFFECT_NONE;
}

HRESULT CIDropTarget::QueryInterface(REFIID iid, void** object) {
    return QueryOne(this, iid, IID_IDropTarget, object);
}

ULONG CIDropTarget::AddRef() {
    return ++m_references;
}

ULONG CIDropTarget::Release() {
    return ReleaseOne(this, m_references);
}

HRESULT CIDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (data == nullptr || effect == nullptr) {
        return E_INVALIDARG;
    }
    if (m_helper != nullptr) {
        POINT at = {point.x, point.y};
        m_helper->DragEnter(m_hwnd, data, &at, *effect);
    }
    m_accepted = false;
    m_chosen = -1;
    for (size_t i = 0; i < m_formats.size(); ++i) {
        if (data->QueryGetData(&m_formats[i]) == S_OK) {
            m_accepted = true;
            m_chosen = static_cast<int>(i);
            break;
        }
    }
    QueryDrop(keyState, effect);
    return S_OK;
}

HRESULT CIDropTarget::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    if (effect == nullptr) {
        return E_INVALIDARG;
    }
    if (m_helper != nullptr) {
        POINT at = {point.x, point.y};
        m_helper->DragOver(&at, *effect);
    }
    QueryDrop(keyState, effect);
    return S_OK;
}

HRESULT CIDropTarget::DragLeave() {
    if (m_helper != nullptr) {
        m_helper->DragLeave();
    }
    m_accepted = false;
    m_chosen = -1;
    return S_OK;
}

HRESULT CIDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
    if (data == nullptr || effect == nullptr) {
        return E_INVALIDARG;
    }
    if (m_helper != nullptr) {
        POINT at = {point.x, point.y};
        m_helper->Drop(data, &at, *effect);
    }
    if (QueryDrop(keyState, effect) && m_chosen >= 0) {
        FORMATETC format = m_formats[static_cast<size_t>(m_chosen)];
        STGMEDIUM medium = {};
        if (data->GetData(&format, &medium) == S_OK) {
            const bool release =
                m_manager != nullptr ? m_manager->OnDrop(&format, &medium, effect) : true;
            if (release) {
                ::ReleaseStgMedium(&medium);
            }
        }
    }
    m_accepted = false;
    m_chosen = -1;
    *effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT CIDropSource::QueryInterface(REFIID iid, void** object) {
    return QueryOne(this, iid, IID_IDropSource, object);
}

ULONG CIDropSource::AddRef() {
    return ++m_references;
}

ULONG CIDropSource::Release() {
    return ReleaseOne(this, m_references);
}

HRESULT CIDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) {
        return DRAGDROP_S_CANCEL;
    }
    if ((keyState & (MK_LBUTTON | MK_RBUTTON)) == 0) {
        m_dropped = true;
        return DRAGDROP_S_DROP;
    }
    return S_OK;
}

HRESULT CIDropSource::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

CIDataObject::CIDataObject(CIDropSource* dropSource) : m_dropSource(dropSource) {}

CIDataObject::~CIDataObject() {
    for (STGMEDIUM& medium : m_media) {
        ::ReleaseStgMedium(&medium);
    }
    for (FORMATETC& format : m_formats) {
        ::CoTaskMemFree(format.ptd);
    }
}

HRESULT CIDataObject::QueryInterface(REFIID iid, void** object) {
    return QueryOne(this, iid, IID_IDataObject, object);
}

ULONG CIDataObject::AddRef() {
    return ++m_references;
}

ULONG CIDataObject::Release() {
    return ReleaseOne(this, m_references);
}

int CIDataObject::Find(const FORMATETC* format) const {
    if (format == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_formats.size(); ++i) {
        const FORMATETC& held = m_formats[i];
        if (held.cfFormat == format->cfFormat && held.dwAspect == format->dwAspect &&
            (held.tymed & format->tymed) != 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

HRESULT CIDataObject::GetData(FORMATETC* format, STGMEDIUM* medium) {
    if (format == nullptr || medium == nullptr) {
        return E_INVALIDARG;
    }
    const int found = Find(format);
    if (found < 0) {
        return DV_E_FORMATETC;
    }
    const size_t index = static_cast<size_t>(found);
    if (!CopyMedium(medium, &m_media[index], m_formats[index].cfFormat)) {
        return STG_E_MEDIUMFULL;
    }
    return S_OK;
}

HRESULT CIDataObject::GetDataHere(FORMATETC*, STGMEDIUM*) {
    return E_NOTIMPL;
}

HRESULT CIDataObject::QueryGetData(FORMATETC* format) {
    if (format == nullptr) {
        return E_INVALIDARG;
    }
    return Find(format) >= 0 ? S_OK : DV_E_FORMATETC;
}

HRESULT CIDataObject::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out != nullptr) {
        out->ptd = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT CIDataObject::SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) {
    if (format == nullptr || medium == nullptr) {
        return E_INVALIDARG;
    }
    STGMEDIUM held = {};
    if (release) {
        held = *medium;
    } else if (!CopyMedium(&held, medium, format->cfFormat)) {
        return E_OUTOFMEMORY;
    }
    FORMATETC kept = CopyFormat(*format);
    kept.tymed = held.tymed;
    const int existing = Find(&kept);
    if (existing >= 0) {
        const size_t index = static_cast<size_t>(existing);
        ::ReleaseStgMedium(&m_media[index]);
        ::CoTaskMemFree(m_formats[index].ptd);
        m_formats[index] = kept;
        m_media[index] = held;
    } else {
        m_formats.push_back(kept);
        m_media.push_back(held);
    }
    return S_OK;
}

HRESULT CIDataObject::EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) {
    if (formats == nullptr) {
        return E_INVALIDARG;
    }
    *formats = nullptr;
    if (direction != DATADIR_GET) {
        return E_NOTIMPL;
    }
    *formats = new CEnumFormatEtc(m_formats);
    return S_OK;
}

HRESULT CIDataObject::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CIDataObject::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT CIDataObject::EnumDAdvise(IEnumSTATDATA** advise) {
    if (advise != nullptr) {
        *advise = nullptr;
    }
    return OLE_E_ADVISENOTSUPPORTED;
}

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC>& formats) {
    for (const FORMATETC& format : formats) {
        m_formats.push_back(CopyFormat(format));
    }
}

CEnumFormatEtc::CEnumFormatEtc(const std::vector<FORMATETC*>& formats) {
    for (const FORMATETC* format : formats) {
        if (format != nullptr) {
            m_formats.push_back(CopyFormat(*format));
        }
    }
}

CEnumFormatEtc::~CEnumFormatEtc() {
    for (FORMATETC& format : m_formats) {
        ::CoTaskMemFree(format.ptd);
    }
}

HRESULT CEnumFormatEtc::QueryInterface(REFIID iid, void** object) {
    return QueryOne(this, iid, IID_IEnumFORMATETC, object);
}

ULONG CEnumFormatEtc::AddRef() {
    return ++m_references;
}

ULONG CEnumFormatEtc::Release() {
    return ReleaseOne(this, m_references);
}

HRESULT CEnumFormatEtc::Next(ULONG count, FORMATETC* formats, ULONG* fetched) {
    if (formats == nullptr || (count != 1 && fetched == nullptr)) {
        return E_INVALIDARG;
    }
    ULONG copied = 0;
    while (copied < count && m_index < m_formats.size()) {
        formats[copied++] = CopyFormat(m_formats[m_index++]);
    }
    if (fetched != nullptr) {
        *fetched = copied;
    }
    return copied == count ? S_OK : S_FALSE;
}

HRESULT CEnumFormatEtc::Skip(ULONG count) {
    const size_t left = m_formats.size() - m_index;
    if (count > left) {
        m_index = m_formats.size();
        return S_FALSE;
    }
    m_index += count;
    return S_OK;
}

HRESULT CEnumFormatEtc::Reset() {
    m_index = 0;
    return S_OK;
}

HRESULT CEnumFormatEtc::Clone(IEnumFORMATETC** copy) {
    if (copy == nullptr) {
        return E_INVALIDARG;
    }
    auto* clone = new CEnumFormatEtc(m_formats);
    clone->m_index = m_index;
    *copy = clone;
    return S_OK;
}

CDragSourceHelper::CDragSourceHelper() {
    if (FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IDragSourceHelper, reinterpret_cast<void**>(&m_helper)))) {
        m_helper = nullptr;
    }
}

CDragSourceHelper::~CDragSourceHelper() {
    if (m_helper != nullptr) {
        m_helper->Release();
    }
}

HRESULT CDragSourceHelper::InitializeFromBitmap(HBITMAP bitmap, POINT cursorOffset,
                                                COLORREF background, IDataObject* data) {
    if (m_helper == nullptr || bitmap == nullptr || data == nullptr) {
        return E_FAIL;
    }
    BITMAP info = {};
    if (::GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return E_INVALIDARG;
    }
    SHDRAGIMAGE image = {};
    image.sizeDragImage.cx = info.bmWidth;
    image.sizeDragImage.cy = info.bmHeight;
    image.ptOffset = cursorOffset;
    image.hbmpDragImage = bitmap;
    image.crColorKey = background;
    return m_helper->InitializeFromBitmap(&image, data);
}

}  // namespace Orvo
