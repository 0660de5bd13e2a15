// Building the window: every control at its place, with its contents, tool
// tip, accessible name, colours and font. Positions are in twips (see Twips.h).

#include "model/AssignmentTable.h"
#include "model/ButtonPosition.h"
#include "model/TextRules.h"
#include "sheet/PanelDrawing.h"
#include "ui/Form1.h"
#include "ui/FrameBox.h"
#include "ui/PanelPicture.h"
#include "ui/Twips.h"

namespace {

const QColor& switchColour = PanelColours::switches;
const QColor& lightingColour = PanelColours::lighting;
// Behind the coloured texts in the lists and boxes, whatever the desktop's theme.
const QColor& listBackground = FieldColours::field;

enum class Face { MsSansSerif, Arial };

QFont windowFont(Face face, double points, bool bold) {
    // Liberation Sans is metric-compatible with Arial and stands in for both
    // where the Windows fonts are missing.
    QFont font;
    const QString first = face == Face::Arial ? "Arial" : "MS Sans Serif";
    font.setFamilies({first, "Arial", "Liberation Sans", "Arimo", "Helvetica"});
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A fixed text colour always comes with its background, so that no theme
// puts it on a background it cannot be read on.
void setColours(QWidget* w, QPalette::ColorRole textRole, const QColor& text,
                QPalette::ColorRole backgroundRole, const QColor& background) {
    QPalette p = w->palette();
    p.setColor(textRole, text);
    p.setColor(backgroundRole, background);
    w->setPalette(p);
}

// The caption's fixed colour, and the indicator's: a black dot in a white
// circle. The face is the window's; the button puts a light plate behind its
// caption where the window is too dark for it.
void setOptionColours(OptionButton* option, const QColor& caption) {
    QPalette p = option->palette();
    p.setColor(QPalette::WindowText, caption);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Base, listBackground);
    option->setPalette(p);
}

void addEntries(ListBox* list, const Session& session, int number) {
    const QStringList& texts = session.listEntries(number);
    for (int e = 0; e < texts.size(); ++e)
        list->addEntry(texts[e], session.itemData(number, e));
}

void place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(twipsRect(left, top, width, height));
}

// The backlighting and dimming lists in the lighting control channels frame.
struct FrameList {
    int list, left, top, width;
};
constexpr FrameList channelLists[] = {
    {41, 1680, 240, 855}, {42, 2520, 240, 615}, {43, 1680, 960, 855}, {44, 2520, 960, 615}};

// The intensity lists in the lighting intensities frame, each with its caption.
struct Intensity {
    int label;
    int labelLeft, labelTop, labelWidth, labelHeight;
    int list;
    const char* tip;
    int listTop;
};
constexpr Intensity intensities[] = {
    {17, 600, 480, 2415, 255, 49, "LED INDICATOR NORMAL INTENSITY (%)", 240},
    {15, 240, 1200, 2895, 255, 45, "BACKLIGHTING NORMAL INTENSITY (%)", 1080},
    {16, 600, 1920, 2535, 615, 46, "DIMMED INDICATOR INTENSITY (%)", 1920},
};

// LED1 and the rows after it belong to the lighting view.
constexpr int firstLightingRow = 10;

// The frame a list lies in: 1, 2, or 0 for none.
int frameOf(int list) {
    for (const FrameList& at : channelLists)
        if (at.list == list)
            return 1;
    for (const Intensity& in : intensities)
        if (in.list == list)
            return 2;
    return 0;
}

QLabel* makeLabel(int number, const Session& session, QWidget* parent, QRect twips) {
    auto* label = new QLabel(session.labelCaption(number), parent);
    label->setObjectName(QString("Label%1").arg(number));
    place(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

} // namespace

void Form1::buildWindow() {
    setObjectName("Form1");
    setWindowTitle(caption);
    setFixedSize(twipsToPixels(11415), twipsToPixels(8895));
    setFont(windowFont(Face::MsSansSerif, 8.25, true));

    m_picture = new PanelPicture(this);
    m_picture->setObjectName("Image1");
    place(m_picture, 960, 1440, 4695, 7095);

    auto* shape = new Decoration("Shape1", PanelColours::header, this);
    place(shape, 1080, 6720, 615, 975);
    const QRect line1 = twipsRect(1320, 7680, 15, 8760 - 7680);
    // The leads are drawn in the window's text colour, so they show on any theme.
    auto* lead1 = new Decoration("Line1", QColor(), QLineF(0, 0, 0, line1.height() - 1), this);
    lead1->setGeometry(line1);
    const QRect line2 = twipsRect(1320, 8760, 1680 - 1320, 15);
    auto* lead2 = new Decoration("Line2", QColor(), QLineF(0, 0, line2.width() - 1, 0), this);
    lead2->setGeometry(line2);

    m_labels[7] = makeLabel(7, m_session, this, {1680, 8640, 4575, 375});
    m_labels[6] = makeLabel(6, m_session, this, {2520, 7800, 1695, 255});
    m_labels[6]->setAutoFillBackground(true);

    auto* name = new TextBox("Text2", TextRules::panelNameLength, this);
    name->setFont(windowFont(Face::MsSansSerif, 8.25, false));
    name->setToolTip("ENTER IDENTITY FOR FILE NAME");
    name->setAccessibleName("PANEL NAME");
    keepLightField(name);
    place(name, 2520, 8040, 1695, 285);
    m_texts[2] = name;

    buildAssignmentControls();
    buildFrames();
    buildCommandControls();

    m_status = new StatusBox("Text1", this);
    m_status->setFont(windowFont(Face::Arial, 8.25, false));
    m_status->setColours(palette().color(QPalette::Midlight),
                         palette().color(QPalette::ButtonText));
    place(m_status, 1680, 1680, 3255, 615);
    m_status->hide();
}

void Form1::buildAssignmentControls() {
    const auto& rows = assignmentRows();
    for (int k = 1; k <= 10; ++k) {
        const ButtonPosition at = buttonPosition(k);
        auto* caption = new QLabel(m_session.labelCaption(captionLabels[k - 1]), this);
        caption->setObjectName(QString("Label%1").arg(captionLabels[k - 1]));
        // White over the picture, which is drawn in its own colours.
        QPalette p = caption->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        caption->setPalette(p);
        caption->move(twipsToPixels(at.labelLeft), twipsToPixels(at.listTop + 120));
        caption->adjustSize();
        m_labels[captionLabels[k - 1]] = caption;
        buildDesignation(rows[size_t(k - 1)], k);
    }
    for (int i = 0; i < firstLightingRow; ++i)
        buildListPair(i, this);
}

void Form1::buildDesignation(const AssignmentRow& row, int position) {
    const ButtonPosition at = buttonPosition(position);
    const QColor colour = row.incompleteFlag == 1 ? switchColour : lightingColour;
    auto* box = new DesignationBox(QString("Text%1").arg(row.designationBox),
                                   Session::designationPlaceholder,
                                   QString("ENTER %1 FUNCTION").arg(row.item), this);
    box->setAccessibleName(row.item + " DESIGNATION");
    setColours(box, QPalette::Text, colour, QPalette::Base, listBackground);
    place(box, at.moduleLeft, at.listTop - 240, 1455, 285);
    m_texts[size_t(row.designationBox)] = box;
}

ListBox* Form1::buildList(int number, const QString& tip, const QColor& colour, QWidget* parent) {
    auto* list = new ListBox(QString("List%1").arg(number), parent);
    addEntries(list, m_session, number);
    list->setToolTip(tip);
    list->setAccessibleName(tip);
    list->setFont(windowFont(Face::MsSansSerif, 8.25, false));
    // The scroll bar beside the white list is light too, on any theme.
    keepLightField(list);
    setColours(list, QPalette::Text, colour, QPalette::Base, listBackground);
    m_lists[size_t(number)] = list;
    return list;
}

// A row's module and channel lists: at the button position for a switch or
// an LED, in the lighting control channels frame for the others.
void Form1::buildListPair(int i, QWidget* parent) {
    const AssignmentRow& row = assignmentRows()[size_t(i)];
    const QColor colour = row.incompleteFlag == 1 ? switchColour : lightingColour;
    ListBox* module = buildList(row.moduleList, row.item + " MODULE ASSIGNMENT", colour, parent);
    ListBox* channel = buildList(row.channelList, row.item + " CHANNEL ASSIGNMENT", colour, parent);
    if (parent != this) {
        for (const FrameList& at : channelLists)
            if (at.list == row.moduleList || at.list == row.channelList)
                place(m_lists[size_t(at.list)], at.left, at.top, at.width, 645);
        return;
    }
    const ButtonPosition at = buttonPosition(i % 10 + 1);
    place(module, at.moduleLeft, at.listTop, 855, 645);
    place(channel, at.channelLeft, at.listTop, 615, 645);
}

void Form1::buildFrames() {
    const QFont frameFont = windowFont(Face::Arial, 9.75, true);
    // The caption sits on the frame's top edge, so the controls keep their
    // places relative to the frame's outer corner.
    m_frame1 = new FrameBox("Frame1", "LIGHTING CONTROL CHANNELS:", this);
    m_frame1->setFont(frameFont);
    place(m_frame1, 6000, 3720, 3495, 1695);
    m_labels[19] = makeLabel(19, m_session, m_frame1, {480, 480, 1215, 255});
    m_labels[1] = makeLabel(1, m_session, m_frame1, {720, 1200, 975, 255});
    for (int l : {19, 1})
        m_labels[l]->setFont(frameFont);

    m_frame2 = new FrameBox("Frame2", "LIGHTING INTENSITIES:", this);
    m_frame2->setFont(frameFont);
    place(m_frame2, 6000, 5760, 5175, 2775);
    for (const Intensity& in : intensities) {
        QLabel* caption = makeLabel(in.label, m_session, m_frame2,
                                    {in.labelLeft, in.labelTop, in.labelWidth, in.labelHeight});
        caption->setFont(frameFont);
        caption->setWordWrap(true);
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        m_labels[in.label] = caption;
    }
}

// Whether the list is seen: shown, and in a frame that is shown.
bool Form1::listSeen(int list) const {
    const int frame = frameOf(list);
    return m_session.listVisible(list) && (frame == 0 || m_session.frameVisible(frame));
}

// The lighting view's designations and lists, some 40 controls that the
// window starts without: built when the view is first shown, or one of them
// is asked for. Each is stacked where it would lie had it been built with
// the rest, so that the same control is drawn over another.
void Form1::buildLightingControls() {
    if (m_lightingBuilt)
        return;
    m_lightingBuilt = true;
    const auto& rows = assignmentRows();
    QList<QWidget*> built;
    for (int k = 1; k <= 10; ++k) {
        const AssignmentRow& row = rows[size_t(firstLightingRow + k - 1)];
        buildDesignation(row, k);
        TextBox* box = m_texts[size_t(row.designationBox)];
        box->stackUnder(m_lists[1]);
        connectBox(row.designationBox);
        built << box;
    }
    for (int i = firstLightingRow; i < int(rows.size()); ++i) {
        const bool inFrame = i >= firstLightingRow + 10;
        buildListPair(i, inFrame ? static_cast<QWidget*>(m_frame1) : this);
        for (int n : {rows[size_t(i)].moduleList, rows[size_t(i)].channelList}) {
            // Under the frame's captions, as under the frame in the window.
            m_lists[size_t(n)]->stackUnder(inFrame ? static_cast<QWidget*>(m_labels[19])
                                                   : m_frame1);
            connectList(n);
            built << m_lists[size_t(n)];
        }
    }
    for (const Intensity& in : intensities) {
        ListBox* list = buildList(in.list, in.tip, lightingColour, m_frame2);
        list->setAccessibleName(m_session.labelCaption(in.label));
        place(list, 3120, in.listTop, 735, 645);
        connectList(in.list);
        built << list;
    }
    insertIntoTabChain(built);
    emit lightingControlsBuilt();
}

void Form1::buildCommandControls() {
    m_option1 = new OptionButton("Option1", "SWITCH CHANNEL ASSIGNMENTS", this);
    m_option1->setToolTip("LEFT CLICK TO VIEW SWITCH CHANNEL ASSIGNMENTS");
    setOptionColours(m_option1, switchColour);
    place(m_option1, 4680, 240, 2415, 495);
    m_option2 = new OptionButton("Option2", "LIGHTING CHANNEL ASSIGNMENTS", this);
    m_option2->setToolTip("LEFT CLICK TO VIEW LIGHTING CHANNEL ASSIGNMENTS");
    setOptionColours(m_option2, lightingColour);
    place(m_option2, 4680, 720, 2415, 495);
    m_option1->setChecked(true);

    struct Button {
        const char* name;
        const char* caption;
        const char* tip;
        int left, top;
    };
    const Button buttons[] = {
        {"READ_FILE", "OPEN CONFIGURATION FILE", "LEFT CLICK TO OPEN CONFIG FILE", 6000, 1440},
        {"WRITE_FILE", "SAVE CONFIGURATION FILE", "LEFT CLICK TO SAVE CONFIG FILE", 6000, 2520},
        {"READ_CONFIG", "READ CONFIGURATION FROM SWITCH PANEL",
         "LEFT CLICK TO READ CONFIG IN SWITCH PANEL", 8760, 1440},
        {"WRITE_CONFIG", "WRITE CONFIGURATION TO SWITCH PANEL",
         "LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL", 8760, 2520},
    };
    for (size_t i = 0; i < std::size(buttons); ++i) {
        auto* button = new CommandButton(buttons[i].name, buttons[i].caption, this);
        button->setToolTip(buttons[i].tip);
        button->setFont(windowFont(Face::Arial, 9.75, true));
        place(button, buttons[i].left, buttons[i].top, 2415, 855);
        m_commandButtons[i] = button;
    }
}
