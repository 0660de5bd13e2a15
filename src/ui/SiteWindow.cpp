#include "ui/SiteWindow.h"

#include "ui/Announcer.h"

#include <QAccessible>
#include <QCheckBox>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace {
enum Column { File, Panel, Model, State, When, Port, Columns };
constexpr int rowRole = Qt::UserRole;
} // namespace

SiteWindow::SiteWindow(SiteModel& site, QWidget* parent)
    : QWidget(parent, Qt::Window), m_site(site) {
    setObjectName(QStringLiteral("SiteWindow"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    m_folder = new QLabel(this);
    m_folder->setObjectName(QStringLiteral("SITE_FOLDER"));
    m_folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_openFolder = new QPushButton(QStringLiteral("OPEN SITE FOLDER\u2026"), this);
    m_openFolder->setObjectName(QStringLiteral("OPEN_SITE_FOLDER"));
    top->addWidget(m_folder, 1);
    top->addWidget(m_openFolder);
    layout->addLayout(top);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("SITE_SUMMARY"));
    QFont bold = m_summary->font();
    bold.setBold(true);
    m_summary->setFont(bold);
    layout->addWidget(m_summary);

    auto* options = new QHBoxLayout;
    m_filter = new QCheckBox(QStringLiteral("ONLY PANELS STILL TO &DO"), this);
    m_filter->setObjectName(QStringLiteral("SITE_FILTER"));
    m_moveOn = new QCheckBox(QStringLiteral("OPEN THE &NEXT PANEL ONCE ONE IS PROGRAMMED"), this);
    m_moveOn->setObjectName(QStringLiteral("MOVE_ON"));
    m_moveOn->setChecked(true);
    options->addWidget(m_filter);
    options->addWidget(m_moveOn);
    options->addStretch(1);
    layout->addLayout(options);

    auto* bench = new QHBoxLayout;
    m_bench = new QPushButton(QStringLiteral("&WRITE EACH PANEL AS IT IS PLUGGED IN"), this);
    m_bench->setObjectName(QStringLiteral("BENCH_MODE"));
    m_stop = new QPushButton(QStringLiteral("STOP"), this);
    m_stop->setObjectName(QStringLiteral("BENCH_STOP"));
    m_stop->setToolTip(QStringLiteral("ENDS THE BENCH (ESC)"));
    m_stop->setEnabled(false);
    m_benchLine = new QLabel(this);
    m_benchLine->setObjectName(QStringLiteral("BENCH_STATUS"));
    m_benchLine->setAutoFillBackground(true);
    m_benchLine->setMargin(4);
    bench->addWidget(m_bench);
    bench->addWidget(m_stop);
    bench->addWidget(m_benchLine, 1);
    layout->addLayout(bench);

    auto* handover = new QHBoxLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("SITE_NAME"));
    m_name->setAccessibleName(QStringLiteral("SITE NAME FOR THE HANDOVER DOCUMENT"));
    m_by = new QLineEdit(this);
    m_by->setObjectName(QStringLiteral("CONFIGURED_BY"));
    m_by->setAccessibleName(QStringLiteral("CONFIGURED BY, FOR THE HANDOVER DOCUMENT"));
    auto* nameLabel = new QLabel(QStringLiteral("SITE &NAME"), this);
    nameLabel->setBuddy(m_name);
    auto* byLabel = new QLabel(QStringLiteral("CONFIGURED &BY"), this);
    byLabel->setBuddy(m_by);
    auto* document = new QPushButton(QStringLiteral("&HANDOVER DOCUMENT\u2026"), this);
    document->setObjectName(QStringLiteral("HANDOVER_DOCUMENT"));
    handover->addWidget(nameLabel);
    handover->addWidget(m_name, 1);
    handover->addWidget(byLabel);
    handover->addWidget(m_by, 1);
    handover->addWidget(document);
    layout->addLayout(handover);
    connect(document, &QPushButton::clicked, this, &SiteWindow::handoverAsked);

    auto* identify = new QHBoxLayout;
    m_identify = new QPushButton(QStringLiteral("WHICH &PANEL IS THIS?"), this);
    m_identify->setObjectName(QStringLiteral("WHICH_PANEL"));
    m_identify->setToolTip(
        QStringLiteral("READS THE PANEL AND FINDS THE FILE OF THE SITE IT HOLDS"));
    m_import = new QPushButton(QStringLiteral("&IMPORT SCHEDULE\u2026"), this);
    m_import->setObjectName(QStringLiteral("IMPORT_SCHEDULE"));
    m_import->setToolTip(QStringLiteral(
        "WRITES A CONFIGURATION FILE INTO THE SITE FOR EACH PANEL OF A CSV SCHEDULE"));
    m_identified = new QLabel(this);
    m_identified->setObjectName(QStringLiteral("IDENTIFY_STATUS"));
    m_identified->setWordWrap(true);
    m_identified->setTextFormat(Qt::PlainText);
    m_identified->setTextInteractionFlags(Qt::TextSelectableByMouse);
    identify->addWidget(m_identify);
    identify->addWidget(m_import);
    identify->addWidget(m_identified, 1);
    layout->addLayout(identify);
    connect(m_identify, &QPushButton::clicked, this, &SiteWindow::identifyAsked);
    connect(m_import, &QPushButton::clicked, this, &SiteWindow::importAsked);
    m_announcer = new Announcer(this);

    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("SITE_PANELS"));
    m_table->setAccessibleName(QStringLiteral("PANELS OF THE SITE"));
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setAllColumnsShowFocus(true);
    // Several files can hold what one panel holds.
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setHeaderLabels({QStringLiteral("FILE"), QStringLiteral("PANEL NAME"),
                              QStringLiteral("MODEL"), QStringLiteral("STATE"),
                              QStringLiteral("WHEN"), QStringLiteral("PORT")});
    m_table->headerItem()->setToolTip(Model, QStringLiteral("THE MODEL OF THE PANEL LAST FOUND "
                                                            "HOLDING THE FILE, FROM THE SITE LOG"));
    m_table->header()->setStretchLastSection(false);
    m_table->header()->setSectionResizeMode(State, QHeaderView::Stretch);
    layout->addWidget(m_table, 1);
    resize(860, 520);
    // A keyboard user starts on the panels: arrows choose a row, Enter opens it.
    m_table->setFocus();

    connect(m_table, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { emit rowChosen(item->data(File, rowRole).toInt()); });
    connect(m_filter, &QCheckBox::toggled, this, &SiteWindow::showSite);
    connect(m_table, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!m_showing)
            m_identifiedFiles.clear();
    });
    connect(m_openFolder, &QPushButton::clicked, this, &SiteWindow::openFolderAsked);
    connect(m_bench, &QPushButton::clicked, this, &SiteWindow::benchAsked);
    connect(m_stop, &QPushButton::clicked, this, &SiteWindow::stopAsked);
    connect(&m_site, &SiteModel::changed, this, &SiteWindow::showSite);
    showSite();
}

bool SiteWindow::movesOn() const {
    return m_moveOn->isChecked();
}

bool SiteWindow::onlyToDo() const {
    return m_filter->isChecked();
}

QList<int> SiteWindow::listedRows() const {
    QList<int> rows;
    for (int i = 0; i < m_table->topLevelItemCount(); ++i)
        rows << m_table->topLevelItem(i)->data(File, rowRole).toInt();
    return rows;
}

void SiteWindow::setCurrentRow(int row) {
    m_current = row;
    m_goTo = row >= 0 && row < m_site.panels().size() ? m_site.panels()[row].file : QString();
    showSite();
}

void SiteWindow::showSite() {
    setWindowTitle(captionPrefix + (m_site.isOpen() ? m_site.name() : QString()));
    m_folder->setText(m_site.isOpen() ? QDir::toNativeSeparators(m_site.folder())
                                      : QStringLiteral("NO SITE OPEN"));
    const QString summary =
        !m_site.folderError().isEmpty()
            ? QStringLiteral("THE FOLDER CANNOT BE READ: %1").arg(m_site.folderError().toUpper())
            : m_site.summary();
    if (summary != m_summary->text()) {
        m_summary->setText(summary);
        QAccessibleEvent event(m_summary, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }

    const QString keep = !m_goTo.isEmpty()        ? std::exchange(m_goTo, QString())
                         : m_table->currentItem() ? m_table->currentItem()->text(File)
                                                  : QString();
    m_showing = true;
    m_table->clear();
    QList<QTreeWidgetItem*> items;
    QList<QTreeWidgetItem*> selected;
    QTreeWidgetItem* current = nullptr;
    const QList<SitePanel>& panels = m_site.panels();
    for (int row = 0; row < panels.size(); ++row) {
        const SitePanel& p = panels[row];
        const bool identified = m_identifiedFiles.contains(p.file);
        if (onlyToDo() && !p.toWrite() && row != m_current && !identified)
            continue;
        const QStringList f = p.fields(); // file, panel, state, when, port, model
        auto* item = new QTreeWidgetItem(QStringList{f[0], f[1], f[5], f[2], f[3], f[4]});
        item->setData(File, rowRole, row);
        if (!p.sameNameAs.isEmpty())
            item->setToolTip(Panel, QStringLiteral("THE SAME PANEL NAME AS %1").arg(p.sameNameAs));
        if (row == m_current) // the file in the main window
            for (int c = 0; c < Columns; ++c) {
                QFont f = item->font(c);
                f.setBold(true);
                item->setFont(c, f);
            }
        if (p.file == keep)
            current = item;
        if (identified)
            selected << item;
        items << item;
    }
    m_table->addTopLevelItems(items);
    if (!selected.isEmpty()) {
        m_table->setCurrentItem(selected.first());
        for (QTreeWidgetItem* item : std::as_const(selected))
            item->setSelected(true);
        m_table->scrollToItem(selected.first());
    } else if (current) {
        m_table->setCurrentItem(current);
    }
    m_showing = false;
    for (int c = 0; c < Columns; ++c)
        if (c != State)
            m_table->resizeColumnToContents(c);
}

void SiteWindow::showIdentified(const QList<int>& rows, const QString& text,
                                const QStringList& details) {
    m_identifiedFiles.clear();
    for (int row : rows)
        if (row >= 0 && row < m_site.panels().size())
            m_identifiedFiles << m_site.panels()[row].file;
    const QString line = (QStringList{text} + details).join(QLatin1Char('\n'));
    m_identified->setText(line);
    m_identified->setAccessibleName(text);
    m_identified->setAccessibleDescription(details.join(QLatin1Char('\n')));
    m_announcer->say((QStringList{text} + details).join(QStringLiteral(". ")));
    showSite();
}

QString SiteWindow::identifiedText() const {
    return m_identified->text();
}

QList<int> SiteWindow::selectedRows() const {
    QList<int> rows;
    for (int i = 0; i < m_table->topLevelItemCount(); ++i)
        if (m_table->topLevelItem(i)->isSelected())
            rows << m_table->topLevelItem(i)->data(File, rowRole).toInt();
    return rows;
}

void SiteWindow::setBenchRunning(bool running) {
    m_identify->setEnabled(!running);
    m_import->setEnabled(!running);
    m_bench->setEnabled(!running);
    m_stop->setEnabled(running);
    m_table->setEnabled(!running);
    m_openFolder->setEnabled(!running);
    // The keyboard goes where the next step is: STOP while the bench runs,
    // the panels once it has ended (not the next box in the tab order).
    if (running)
        m_stop->setFocus();
    else
        m_table->setFocus();
}

QString SiteWindow::benchText() const {
    return m_benchLine->text();
}

void SiteWindow::showBench(BenchLoop::Step step, const QString& text) {
    QString line;
    // Both colours fixed where one is, so no theme makes the line unreadable.
    QPalette colours = palette();
    switch (step) {
    case BenchLoop::Step::Waiting:
        line = QStringLiteral("PLUG IN THE PANEL FOR %1").arg(text);
        break;
    case BenchLoop::Step::Writing:
        line = QStringLiteral("WRITING %1").arg(text);
        break;
    case BenchLoop::Step::Programmed:
        line = QStringLiteral("PROGRAMMED: %1 - UNPLUG THE PANEL").arg(text);
        colours.setColor(QPalette::Window, QColor(0x00, 0x80, 0x00));
        colours.setColor(QPalette::WindowText, Qt::white);
        break;
    case BenchLoop::Step::Failed:
        line = QStringLiteral("FAILED: %1 - UNPLUG THE PANEL").arg(text);
        colours.setColor(QPalette::Window, QColor(0xc0, 0x00, 0x00));
        colours.setColor(QPalette::WindowText, Qt::white);
        break;
    case BenchLoop::Step::Unplug:
        return; // the outcome stays on the line until the panel has gone
    case BenchLoop::Step::Done:
        line = QStringLiteral("EVERY PANEL OF THE SITE IS PROGRAMMED");
        break;
    case BenchLoop::Step::Ended:
        line = text.isEmpty() ? QStringLiteral("BENCH STOPPED")
                              : QStringLiteral("BENCH STOPPED: %1").arg(text);
        break;
    }
    m_benchLine->setPalette(colours);
    m_benchLine->setText(line);
    m_benchLine->setAccessibleName(line);
    QAccessibleEvent event(m_benchLine, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}
