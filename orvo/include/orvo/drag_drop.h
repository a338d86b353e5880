#pragma once

#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <atomic>
#include <vector>

#include "orvo/orvo_api.h"

namespace Orvo {

class PaintManager;

// A copy of a storage medium: global memory is duplicated, GDI and metafile handles are
// duplicated with OleDuplicateData. False when the medium cannot be copied.
ORVO_API bool CopyMedium(STGMEDIUM* destination, const STGMEDIUM* source, CLIPFORMAT format);

// A window's OLE drop target: it accepts the formats added to it, chooses the drop effect from
// the keys and what the source allows, and hands a dropped medium to its paint manager.
class ORVO_API CIDropTarget : public IDropTarget {
public:
    explicit CIDropTarget(HWND hwnd);
    virtual ~CIDropTarget();
    CIDropTarget(const CIDropTarget&) = delete;
    CIDropTarget& operator=(const CIDropTarget&) = delete;

    // Accepted formats, in the order they are asked for.
    void AddSuportedFormat(const FORMATETC& format);
    const std::vector<FORMATETC>& GetSuportedFormats() const { return m_formats; }
    // The manager that receives drops; null stops delivery (the window is going away).
    void SetDropHandler(PaintManager* manager) { m_manager = manager; }
    // The effect for these keys among those the source allows; false when nothing is taken.
    bool QueryDrop(DWORD keyState, DWORD* effect) const;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

private:
    std::atomic<ULONG> m_references{1};
    HWND m_hwnd;
    bool m_accepted = false;
    IDropTargetHelper* m_helper = nullptr;  // owned reference; null when the shell has none
    std::vector<FORMATETC> m_formats;
    int m_chosen = -1;                  // index into m_formats of the current drag's format
    PaintManager* m_manager = nullptr;  // not owned
};

// The drag source: Escape cancels, releasing both buttons drops.
class ORVO_API CIDropSource : public IDropSource {
public:
    CIDropSource() = default;
    virtual ~CIDropSource() = default;
    CIDropSource(const CIDropSource&) = delete;
    CIDropSource& operator=(const CIDropSource&) = delete;

    bool IsDropped() const { return m_dropped; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    std::atomic<ULONG> m_references{1};
    bool m_dropped = false;
};

// The data of a drag: pairs of format and medium. GetData hands out copies.
class ORVO_API CIDataObject : public IDataObject {
public:
    explicit CIDataObject(CIDropSource* dropSource);
    virtual ~CIDataObject();
    CIDataObject(const CIDataObject&) = delete;
    CIDataObject& operator=(const CIDataObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    // Stores the pair; with release the object takes the medium, else it keeps a copy.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink,
                                      DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA** advise) override;

private:
    int Find(const FORMATETC* format) const;

    std::atomic<ULONG> m_references{1};
    CIDropSource* m_dropSource;  // not owned
    std::vector<FORMATETC> m_formats;
    std::vector<STGMEDIUM> m_media;  // owned: released in the destructor
};

// Enumerates a copied list of formats.
class ORVO_API CEnumFormatEtc : public IEnumFORMATETC {
public:
    explicit CEnumFormatEtc(const std::vector<FORMATETC>& formats);
    explicit CEnumFormatEtc(const std::vector<FORMATETC*>& formats);
    virtual ~CEnumFormatEtc();
    CEnumFormatEtc(const CEnumFormatEtc&) = delete;
    CEnumFormatEtc& operator=(const CEnumFormatEtc&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE Next(ULONG count, FORMATETC* formats, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** copy) override;

private:
    std::atomic<ULONG> m_references{1};
    std::vector<FORMATETC> m_formats;  // target devices are deep copies, freed with the list
    size_t m_index = 0;
};

// The shell's drag-image service, when it exists.
class ORVO_API CDragSourceHelper {
public:
    CDragSourceHelper();
    ~CDragSourceHelper();
    CDragSourceHelper(const CDragSourceHelper&) = delete;
    CDragSourceHelper& operator=(const CDragSourceHelper&) = delete;

    bool IsAvailable() const { return m_helper != nullptr; }
    // The shell's picture of the drag; the helper takes the bitmap only when this succeeds.
    // E_FAIL without the service (Wine answers E_NOTIMPL): the drag then goes on without it.
    HRESULT InitializeFromBitmap(HBITMAP bitmap, POINT cursorOffset, COLORREF background,
                                 IDataObject* data);

private:
    IDragSourceHelper* m_helper = nullptr;  // owned reference
};

}  // namespace Orvo
