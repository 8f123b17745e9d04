// The page layout of Encoder's "Print" drawn in-process on an enhanced metafile, a stand-in for
// the printer: the metafile's records give each font asked for and each text with its place.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "EncoderDlg.h"
#include "resource.h"

namespace {

struct Text {
    std::wstring text;
    LOGFONTW font;
    POINT at;
};

struct Page {
    std::vector<Text> texts;
};

struct RecordState {
    Page* page;
    std::map<DWORD, LOGFONTW> handles;  // metafile object index to font
    LOGFONTW current;
};

int CALLBACK Record(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM param) {
    auto* s = reinterpret_cast<RecordState*>(param);
    switch (record->iType) {
    case EMR_EXTCREATEFONTINDIRECTW: {
        const auto* r = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
        s->handles[r->ihFont] = r->elfw.elfLogFont;
        break;
    }
    case EMR_SELECTOBJECT: {
        const auto* r = reinterpret_cast<const EMRSELECTOBJECT*>(record);
        const auto it = s->handles.find(r->ihObject);
        if (it != s->handles.end()) s->current = it->second;
        break;
    }
    case EMR_EXTTEXTOUTW: {
        const auto* r = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + r->emrtext.offString);
        s->page->texts.push_back({std::wstring(chars, r->emrtext.nChars), s->current,
                                  POINT{r->emrtext.ptlReference.x, r->emrtext.ptlReference.y}});
        break;
    }
    default:
        break;
    }
    return 1;
}

// Runs `draw` on a metafile DC over the screen and returns what it recorded.
template <typename Draw>
Page Recorded(Draw draw) {
    HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    CDC cdc;
    cdc.Attach(dc);
    draw(cdc);
    cdc.Detach();
    HENHMETAFILE file = ::CloseEnhMetaFile(dc);
    Page page;
    RecordState state{&page, {}, {}};
    ::EnumEnhMetaFile(nullptr, file, Record, &state, nullptr);
    ::DeleteEnhMetaFile(file);
    return page;
}

// The height DrawText measures for one line of `text` in `font`.
int MeasuredHeight(CDC& dc, const CFont& font, const wchar_t* text) {
    HGDIOBJ old = dc.SelectObject(font);
    CRect r(0, 0, 10000, 10000);
    dc.DrawText(text, -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    dc.SelectObject(old);
    return r.Height();
}

int Height(int points, int dpi) { return -::MulDiv(points, dpi, 72); }

const Text* Find(const Page& page, const std::wstring& text) {
    for (const Text& t : page.texts)
        if (t.text == text) return &t;
    return nullptr;
}

}  // namespace

TEST(PrintLayout, SetupMakesTheFourFontsAndQuarterInchMarginsAndTheHeaderTopsThePage) {
    CEncoderDlg window;  // never shown: its print steps only draw
    int dpiX = 0, dpiY = 0;
    CRect draw, afterHeader;
    int nameHeight = 0, linkHeight = 0;
    LOGFONTW made[4] = {};
    const Page page = Recorded([&](CDC& dc) {
        dpiX = dc.GetDeviceCaps(LOGPIXELSX);
        dpiY = dc.GetDeviceCaps(LOGPIXELSY);
        CPrintInfo info;
        info.m_nFromPage = 3;
        info.m_nToPage = 9;
        info.m_rectDraw = CRect(0, 0, 1000, 2000);
        window.PrintSetup(&dc, &info);
        EXPECT_EQ(info.m_nFromPage, 1u);
        EXPECT_EQ(info.m_nToPage, 1u);
        draw = info.m_rectDraw;
        afterHeader = draw;
        window.PrintHeader(&dc, afterHeader);
        const CFont* fonts[] = {&window.m_fontPrintHeader, &window.m_fontPrintLabel, &window.m_fontPrintValue,
                                &window.m_fontPrintLink};
        for (int i = 0; i < 4; ++i) ::GetObjectW(fonts[i]->GetSafeHandle(), sizeof made[i], &made[i]);
        nameHeight = MeasuredHeight(dc, window.m_fontPrintHeader, L"Kestrivo");
        linkHeight = MeasuredHeight(dc, window.m_fontPrintLink, L"" KESTRIVO_WEB_ADDRESS);
    });
    EXPECT_EQ(draw.left, dpiX / 4);
    EXPECT_EQ(draw.right, 1000 - dpiX / 4);
    EXPECT_EQ(draw.top, dpiY / 4);
    EXPECT_EQ(draw.bottom, 2000 - dpiY / 4);

    const struct {
        const wchar_t* face;
        int points;
        LONG weight;
        BYTE italic;
    } fonts[] = {{L"Times New Roman", 16, 400, 1}, {L"Times New Roman", 12, 400, 0},
                 {L"Times New Roman", 12, 400, 1}, {L"Arial", 12, 100, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_STREQ(made[i].lfFaceName, fonts[i].face) << i;
        EXPECT_EQ(made[i].lfHeight, Height(fonts[i].points, dpiY)) << i;
        EXPECT_EQ(made[i].lfWeight, fonts[i].weight) << i;
        EXPECT_EQ(made[i].lfItalic, fonts[i].italic) << i;
    }

    ASSERT_EQ(page.texts.size(), 2u);
    const Text& name = page.texts[0];
    const Text& link = page.texts[1];
    EXPECT_EQ(name.text, L"Kestrivo");
    EXPECT_EQ(name.font.lfHeight, Height(16, dpiY));
    EXPECT_TRUE(name.font.lfItalic);
    EXPECT_EQ(name.at.x, draw.left);
    EXPECT_EQ(name.at.y, draw.top);
    EXPECT_EQ(link.text, L"" KESTRIVO_WEB_ADDRESS);
    EXPECT_STREQ(link.font.lfFaceName, L"Arial");
    EXPECT_EQ(link.at.x, draw.left);
    ASSERT_GT(nameHeight, 0);
    ASSERT_GT(linkHeight, 0);
    EXPECT_EQ(link.at.y, name.at.y + nameHeight);
    EXPECT_EQ(afterHeader.top, link.at.y + 2 * linkHeight) << "one blank line of the address's height";
    EXPECT_EQ(afterHeader.left, draw.left);
}

TEST(PrintLayout, BarcodeLinesTakeTheFaceAtTheirSizeAndStackBandLines) {
    CEncoderDlg window;
    int dpiY = 0, step = 0, top = 0;
    CRect after8, after12;
    const Page page = Recorded([&](CDC& dc) {
        dpiY = dc.GetDeviceCaps(LOGPIXELSY);
        CPrintInfo info;
        info.m_rectDraw = CRect(0, 0, 2000, 3000);
        window.PrintSetup(&dc, &info);
        CRect rect = info.m_rectDraw;
        top = rect.top;
        step = window.m_nPrintLineStep = MeasuredHeight(dc, window.m_fontPrintLabel, L"123456ABC");
        window.PrintBarcodeAtSize(&dc, rect, L"a&b\ncd\nef", 8, L"KVQRCode");
        after8 = rect;
        window.PrintBarcodeAt12(&dc, rect, L"*1&2*", L"KVPostnet");
        after12 = rect;
    });
    ASSERT_GT(step, 0);
    const Text* label8 = Find(page, L"Point Size 8 :    ");
    const Text* band1 = Find(page, L"a&b");
    const Text* band2 = Find(page, L"cd");
    const Text* band3 = Find(page, L"ef");
    ASSERT_TRUE(label8 && band1 && band2 && band3) << "a line missing, or a prefix taken";
    EXPECT_EQ(label8->at.y, top + step) << "one blank line above";
    EXPECT_FALSE(label8->font.lfItalic);
    EXPECT_STREQ(band1->font.lfFaceName, L"KVQRCode");
    EXPECT_EQ(band1->font.lfHeight, Height(8, dpiY));
    EXPECT_EQ(band1->font.lfWeight, 400);
    EXPECT_EQ(band1->font.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(band1->at.y, label8->at.y);
    EXPECT_GT(band1->at.x, label8->at.x);
    EXPECT_EQ(band2->at.x, band1->at.x);
    EXPECT_EQ(band3->at.x, band1->at.x);
    EXPECT_GT(band2->at.y, band1->at.y);
    EXPECT_EQ(band3->at.y - band2->at.y, band2->at.y - band1->at.y) << "band lines one under another";
    EXPECT_GT(after8.top, band3->at.y) << "the rectangle moves under the block";

    const Text* label12 = Find(page, L"Point Size 12 : ");
    const Text* postal = Find(page, L"*1&2*");
    ASSERT_TRUE(label12 && postal);
    EXPECT_EQ(label12->at.y, after8.top + step);
    EXPECT_STREQ(postal->font.lfFaceName, L"KVPostnet");
    EXPECT_EQ(postal->font.lfHeight, Height(12, dpiY));
    EXPECT_EQ(postal->at.y, label12->at.y);
    EXPECT_GT(after12.top, label12->at.y);
}
