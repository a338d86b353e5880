// The mouse family: the button page's mouse picture with its call-outs placed from the
// description file's points (one selected, one hovered), the report-rate selector and the
// rows of the buttons with their functions.
#include <windows.h>

#include <memory>

#include "family_dialog.h"
#include "orvo/control_factory.h"
#include "orvo/mouse_pickers.h"
#include "orvo/paint_manager.h"
#include "orvo/render.h"

namespace Gallery {
namespace {

constexpr UINT kMouse = 82;
constexpr UINT kRates = 112;
constexpr UINT kKeys = 60;
constexpr int kPictureLeft = 24;
constexpr int kPictureTop = 76;

// The picture under the call-outs, at its own size.
class PictureArea : public Orvo::MControl {
public:
    PictureArea(Orvo::MObject* parent, const RECT& rect, const wchar_t* file)
        : MControl(parent, 0, rect, 1, 1, 0), m_file(file) {}
    const wchar_t* GetClassNameW() const override { return L"GalleryPicture"; }
    void DrawControl(HDC hdc, const RECT&) override {
        Orvo::ImgResInfo* info =
            m_manager != nullptr ? m_manager->AddImgResInfo(m_file.c_str(), 1) : nullptr;
        if (info == nullptr || info->image == nullptr) {
            return;
        }
        Gdiplus::Graphics graphics(hdc);
        Orvo::MRender::DrawImageExact(
            &graphics, info->image.get(),
            Gdiplus::Rect(m_rect.left, m_rect.top, info->frameWidth, info->frameHeight), 0, 0,
            info->frameWidth, info->frameHeight);
    }

private:
    std::wstring m_file;
};

template <typename T>
T* MakeOnPage(FamilyDialog& dialog, const wchar_t* name, UINT id, const RECT& rect) {
    std::unique_ptr<Orvo::MControl> made = Orvo::ControlFactory::Create(
        Orvo::FactoryTable::kPanel, name, &dialog, id, rect, L"", 1, 1);
    return made != nullptr ? static_cast<T*>(dialog.GetPaintManager()->AddControl(std::move(made)))
                           : nullptr;
}

void HoverForward(FamilyDialog& dialog) {
    // The pointer rests on the label of the second side button (left of x = 80, y = 245).
    ::SendMessageW(dialog.GetSafeHwnd(), WM_MOUSEMOVE, 0,
                   MAKELPARAM(kPictureLeft + 45, kPictureTop + 245));
}

void BuildMouse(FamilyDialog& dialog) {
    const RECT area = dialog.ContentRect();
    dialog.AddLabel(RECT{area.left, area.top, area.left + 380, area.top + 22},
                    L"MouseCtrl: call-outs from the description file");
    const RECT picture = {kPictureLeft, kPictureTop, kPictureLeft + 360, kPictureTop + 392};
    dialog.GetPaintManager()->AddAreaControl(
        std::make_unique<PictureArea>(&dialog, picture, L"device\\mouse_102_top.png"));
    if (auto* mouse = MakeOnPage<Orvo::MouseCtrl>(dialog, L"MouseCtrl", kMouse, picture)) {
        mouse->SetImage(L"img_key_bkg.png", 4);
        // The description file's keys: text, key value, side and the rect points a#b#c.
        const struct {
            const wchar_t* text;
            int key;
            int side;
            int a, b, c;
        } keys[] = {{L"Left", 0, 0, 80, 145, 100},    {L"Right", 1, 1, 222, 280, 120},
                    {L"Wheel", 2, 1, 180, 280, 85},   {L"Back", 3, 0, 80, 115, 195},
                    {L"Forward", 4, 0, 80, 115, 245}, {L"DPI", 7, 1, 180, 280, 155}};
        for (const auto& key : keys) {
            mouse->AddItem(key.text, key.key, key.side, POINT{key.a, key.c}, POINT{key.b, key.c});
        }
        mouse->SetSelectItem(1);
    }

    const int right = area.left + 420;
    dialog.AddLabel(RECT{right, area.top, area.right, area.top + 22},
                    L"ReporteCtrl: report rates, 1000 Hz selected");
    if (auto* rates =
            MakeOnPage<Orvo::ReporteCtrl>(dialog, L"ReporteCtrl", kRates,
                                          RECT{right, area.top + 30, right + 520, area.top + 70})) {
        const wchar_t* texts[] = {L"125Hz", L"250Hz", L"500Hz", L"1000Hz"};
        const Orvo::ColorRef colours[] = {Orvo::ColorRef(67825), Orvo::ColorRef(15559424),
                                          Orvo::ColorRef(5109248), Orvo::ColorRef(2139135)};
        for (int i = 0; i < 4; ++i) {
            rates->AddItem(texts[i], i, colours[i]);
        }
        rates->SetSelectItemValue(3);
    }

    dialog.AddLabel(RECT{right, area.top + 96, area.right, area.top + 118},
                    L"MouseKeyCtrl: each button and its function, the first selected");
    if (auto* rows = MakeOnPage<Orvo::MouseKeyCtrl>(
            dialog, L"MouseKeyCtrl", kKeys,
            RECT{right, area.top + 126, right + 300, area.top + 330})) {
        rows->SetFontWidth(13);
        const wchar_t* names[] = {L"Left", L"Right", L"Wheel", L"Back", L"Forward", L"DPI"};
        const wchar_t* functions[] = {L"Left click", L"Right click", L"Middle click",
                                      L"Back",       L"Forward",     L"DPI cycle up"};
        for (int i = 0; i < 6; ++i) {
            rows->AddItem(names[i], functions[i], i);
        }
        rows->SetSelectItem(0);
    }
    dialog.BeforeCapture(HoverForward, 2);
}

}  // namespace

ORVO_GALLERY_FAMILY(L"mouse", BuildMouse);

}  // namespace Gallery
