#include "ui/frm_help.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <type_traits>

#include "app/host.h"
#include "env/text_store.h"
#include "ui/desktop_keys.h"
#include "ui/screen_fit.h"
#include "ui/ui_metrics.h"

namespace daybridge {

namespace {

constexpr const char* kUserGuideFileName = "user-guide.md";
// "The file exists, but no application is set up to open it ..." (dbrg_text.dat).
constexpr int kTextNoApplicationOpens = 356;
// Larger files are not guides; reading one would only stall the window.
constexpr qint64 kMaxGuideBytes = 4 * 1024 * 1024;

// The anchor by which a link names a heading, as the guides' links are written for the web:
// lower case, blanks become hyphens, other punctuation is dropped ("Working days" is
// "#working-days").
QString HeadingAnchor(const QString& title) {
    QString anchor;
    for (const QChar c : title.trimmed().toLower()) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_') {
            anchor += c;
        } else if (c == u' ') {
            anchor += u'-';
        }
    }
    return anchor;
}

bool IsGuide(const QString& path) {
    return path.endsWith(QStringLiteral(".md"), Qt::CaseInsensitive);
}

// Tables with single rules and room in their cells, as a web page shows them (Qt's own have
// double rules).
void RuleTables(QTextDocument& document, const QBrush& rule, int padding) {
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        if (table == nullptr) {
            continue;
        }
        QTextTableFormat format = table->format();
        format.setBorderCollapse(true);
        format.setBorder(1);
        format.setBorderBrush(rule);
        format.setCellSpacing(0);
        format.setCellPadding(padding);
        format.setBottomMargin(2 * padding);
        table->setFormat(format);
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                QTextTableCell cell = table->cellAt(row, column);
                QTextTableCellFormat ruled = cell.format().toTableCellFormat();
                ruled.setBorder(1);
                ruled.setBorderBrush(rule);
                ruled.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
                cell.setFormat(ruled);
            }
        }
    }
}

}  // namespace

frmHelp::frmHelp(const AppState& state, Host& host, UrlOpener openUrl, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state), host_(host), openUrl_(std::move(openUrl)) {
    setObjectName(QStringLiteral("frmHelp"));
    folders_ = DataFolders();
    BuildWindow();
    ConnectSignals();
    txbGuide->setFocus();  // the keys scroll the page from the start
    SetLanguageDependentText();
    UpdateHistoryButtons();
    KeepOnScreen(this);
}

void frmHelp::BuildWindow() {
    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QString::fromLatin1(name));
        if constexpr (std::is_same_v<decltype(widget), QPushButton*>) {
            widget->setAutoDefault(false);
        }
        return widget;
    };
    cmdBack = named(new QPushButton(this), "cmdBack");
    cmdForward = named(new QPushButton(this), "cmdForward");
    cmdUserGuide = named(new QPushButton(this), "cmdUserGuide");
    lblFind = named(new QLabel(this), "lblFind");
    txbFind = named(new QLineEdit(this), "txbFind");
    txbFind->setClearButtonEnabled(true);
    txbFind->setMinimumWidth(TwipsToPixels(this, 2400));
    lblFind->setBuddy(txbFind);
    cmdFindPrevious = named(new QPushButton(this), "cmdFindPrevious");
    cmdFindNext = named(new QPushButton(this), "cmdFindNext");
    lblFindResult = named(new QLabel(this), "lblFindResult");
    lblFindResult->setMinimumWidth(TwipsToPixels(this, 1500));
    cmdClose = named(new QPushButton(this), "cmdClose");

    auto* contentsPane = new QWidget(this);
    lblContents = named(new QLabel(contentsPane), "lblContents");
    tvwContents = named(new QTreeWidget(contentsPane), "tvwContents");
    tvwContents->setHeaderHidden(true);
    tvwContents->setColumnCount(1);
    tvwContents->header()->setStretchLastSection(true);
    lblContents->setBuddy(tvwContents);
    auto* contentsLayout = new QVBoxLayout(contentsPane);
    contentsLayout->setContentsMargins(0, 0, 0, 0);
    contentsLayout->addWidget(lblContents);
    contentsLayout->addWidget(tvwContents, 1);

    txbGuide = named(new QTextBrowser(this), "txbGuide");
    txbGuide->setOpenLinks(false);
    txbGuide->setOpenExternalLinks(false);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(contentsPane);
    splitter->addWidget(txbGuide);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({TwipsToPixels(this, 3600), TwipsToPixels(this, 9600)});
    splitter->setChildrenCollapsible(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdBack);
    bar->addWidget(cmdForward);
    bar->addWidget(cmdUserGuide);
    bar->addSpacing(TwipsToPixels(this, 150));
    bar->addWidget(lblFind);
    bar->addWidget(txbFind, 1);
    bar->addWidget(cmdFindPrevious);
    bar->addWidget(cmdFindNext);
    bar->addWidget(lblFindResult);
    bar->addStretch(0);
    bar->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(splitter, 1);
    setMinimumSize(TwipsToPixels(this, 7000), TwipsToPixels(this, 4000));
}

void frmHelp::ConnectSignals() {
    connect(cmdBack, &QPushButton::clicked, this, &frmHelp::cmdBack_Click);
    connect(cmdForward, &QPushButton::clicked, this, &frmHelp::cmdForward_Click);
    connect(cmdUserGuide, &QPushButton::clicked, this, &frmHelp::cmdUserGuide_Click);
    connect(cmdFindPrevious, &QPushButton::clicked, this, &frmHelp::cmdFindPrevious_Click);
    connect(cmdFindNext, &QPushButton::clicked, this, &frmHelp::cmdFindNext_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmHelp::cmdClose_Click);
    connect(txbGuide, &QTextBrowser::anchorClicked, this, &frmHelp::txbGuide_AnchorClicked);
    connect(tvwContents, &QTreeWidget::itemClicked, this, &frmHelp::tvwContents_Click);
    connect(tvwContents, &QTreeWidget::itemActivated, this, &frmHelp::tvwContents_Click);
    connect(txbFind, &QLineEdit::textChanged, this, &frmHelp::txbFind_Change);
    txbFind->installEventFilter(this);

    const auto shortcut = [this](const QKeySequence& keys, auto slot) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::Key_Escape), &frmHelp::EscapePressed);
    shortcut(QKeySequence(Qt::Key_F3), &frmHelp::cmdFindNext_Click);
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &frmHelp::cmdFindPrevious_Click);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), &frmHelp::cmdBack_Click);
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), &frmHelp::cmdForward_Click);
    shortcut(QKeySequence::Find, [this] {
        txbFind->setFocus(Qt::ShortcutFocusReason);
        txbFind->selectAll();
    });
    PressButtonsOnEnter(this);
}

void frmHelp::SetGuideFolders(const QStringList& folders) {
    folders_ = folders;
}

void frmHelp::SetLanguageDependentText() {
    setWindowTitle(state_.settings.Caption(Caption::HelpTitle));
    cmdBack->setText(state_.settings.Caption(Caption::HelpBack));
    cmdForward->setText(state_.settings.Caption(Caption::HelpForward));
    cmdUserGuide->setText(state_.settings.Caption(Caption::HelpUserGuide));
    lblFind->setText(state_.settings.Caption(Caption::HelpFind));
    cmdFindPrevious->setText(state_.settings.Caption(Caption::Previous));
    cmdFindNext->setText(state_.settings.Caption(Caption::Next));
    cmdClose->setText(state_.settings.Caption(Caption::Close));
    lblContents->setText(state_.settings.Caption(Caption::HelpContents));
    AssignMnemonics(this);
    if (page_.kind != PageKind::Guide) {
        ShowMissing();
    }
    ShowFindResult();
}

QString frmHelp::CurrentGuide() const {
    return page_.kind == PageKind::Guide ? loaded_ : QString();
}

void frmHelp::ShowHelp() {
    if (!visited_ || page_.kind == PageKind::UserGuideMissing) {
        ShowUserGuide();
    }
    if (isHidden()) {
        if (geometry_.isEmpty()) {
            PlaceFirstTime();
        } else {
            restoreGeometry(geometry_);
        }
    }
    if (isMinimized()) {
        showNormal();
    }
    show();
    raise();
    activateWindow();
}

void frmHelp::ShowUserGuide() {
    const QString name = QString::fromLatin1(kUserGuideFileName);
    Page page;
    for (const QString& folder : std::as_const(folders_)) {
        const QString path = QDir::cleanPath(FolderFilePath(folder, name));
        if (QFileInfo(path).isFile()) {
            page.path = path;
            Visit(page, {});
            return;
        }
        page.lookedAt << path;
    }
    page.kind = PageKind::UserGuideMissing;
    Visit(page, {});
}

// Goes to a page as a link does: the page left can be gone back to.
void frmHelp::Visit(const Page& page, const QString& anchor) {
    if (visited_) {
        back_.push_back(CurrentPlace());
        forward_.clear();
    }
    visited_ = true;
    Show(page);
    if (!anchor.isEmpty()) {
        const auto heading = std::find_if(headings_.begin(), headings_.end(),
                                          [&anchor](const auto& h) { return h.second == anchor; });
        if (heading != headings_.end()) {
            ScrollToBlock(heading->first);
        }
    }
}

void frmHelp::Show(const Page& page) {
    page_ = page;
    if (page_.kind == PageKind::Guide && page_.path != loaded_ && !LoadGuide(page_.path)) {
        page_.kind = PageKind::GuideMissing;
        page_.lookedAt = QStringList{page_.path};
    }
    if (page_.kind != PageKind::Guide) {
        ShowMissing();
    }
    FillContents();
    HighlightMatches();
    // The cursor at the top of the view, where a search starts; placing it may scroll the line
    // it is on into full view, so the place read is set again.
    QScrollBar* scroll = txbGuide->verticalScrollBar();
    scroll->setValue(page_.scroll);
    txbGuide->setTextCursor(txbGuide->cursorForPosition(QPoint(0, 0)));
    scroll->setValue(page_.scroll);
    ShowFindResult();
    UpdateHistoryButtons();
}

bool frmHelp::LoadGuide(const QString& path) {
    // Only a plain file: opening a FIFO or a device would wait for ever.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) ||
        file.size() > kMaxGuideBytes) {
        return false;
    }
    const QString text = QString::fromUtf8(file.read(kMaxGuideBytes));
    // Pictures and other files a guide names lie beside it.
    txbGuide->setSearchPaths({QFileInfo(path).absolutePath()});
    txbGuide->setMarkdown(text);
    QTextDocument* document = txbGuide->document();
    document->setDocumentMargin(TwipsToPixels(this, 180));
    RuleTables(*document, palette().brush(QPalette::Mid), TwipsToPixels(this, 60));
    // Laid out whole now, so positions of headings and the scroll range hold at once.
    document->documentLayout()->documentSize();
    loaded_ = path;
    return true;
}

// The page that says which guide was not found, and where Daybridge looked for it.
void frmHelp::ShowMissing() {
    QString html = QStringLiteral("<p><b>%1</b></p><ul>")
                       .arg(state_.settings
                                .Caption(page_.kind == PageKind::UserGuideMissing
                                             ? Caption::HelpGuideNotFound
                                             : Caption::HelpLinkedGuideNotFound)
                                .toHtmlEscaped());
    for (const QString& path : std::as_const(page_.lookedAt)) {
        html += QStringLiteral("<li>%1</li>").arg(QDir::toNativeSeparators(path).toHtmlEscaped());
    }
    html += QStringLiteral("</ul>");
    txbGuide->setHtml(html);
    loaded_.clear();
}

// The contents list: every heading of the page, nested by level.
void frmHelp::FillContents() {
    tvwContents->clear();
    headings_.clear();
    QHash<QString, int> anchorsSeen;
    std::vector<std::pair<int, QTreeWidgetItem*>> open;  // heading level, its item
    for (QTextBlock block = txbGuide->document()->begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level <= 0) {
            continue;
        }
        const QString title = block.text().trimmed();
        QString anchor = HeadingAnchor(title);
        // A title used again gets a number, as the web writes its anchor: "#notes-1".
        const int seen = anchorsSeen[anchor]++;
        if (seen > 0) {
            anchor += QStringLiteral("-%1").arg(seen);
        }
        headings_.emplace_back(block.blockNumber(), anchor);
        while (!open.empty() && open.back().first >= level) {
            open.pop_back();
        }
        auto* item = open.empty() ? new QTreeWidgetItem(tvwContents)
                                  : new QTreeWidgetItem(open.back().second);
        item->setText(0, title);
        item->setToolTip(0, title);  // the list may be narrower than a long title
        item->setData(0, Qt::UserRole, block.blockNumber());
        open.emplace_back(level, item);
    }
    tvwContents->expandAll();
}

// The block's top at the top of the view (or as far down as the page goes); the cursor moves
// there, so a search goes on from it.
void frmHelp::ScrollToBlock(int blockNumber) {
    const QTextBlock block = txbGuide->document()->findBlockByNumber(blockNumber);
    if (!block.isValid()) {
        return;
    }
    QTextCursor cursor(block);
    txbGuide->setTextCursor(cursor);
    const QRectF box = txbGuide->document()->documentLayout()->blockBoundingRect(block);
    txbGuide->verticalScrollBar()->setValue(static_cast<int>(box.top()));
}

frmHelp::Page frmHelp::CurrentPlace() const {
    Page place = page_;
    place.scroll = txbGuide->verticalScrollBar()->value();
    return place;
}

void frmHelp::UpdateHistoryButtons() {
    cmdBack->setEnabled(!back_.empty());
    cmdForward->setEnabled(!forward_.empty());
}

void frmHelp::cmdBack_Click() {
    if (back_.empty()) {
        return;
    }
    forward_.push_back(CurrentPlace());
    const Page page = back_.back();
    back_.pop_back();
    Show(page);
}

void frmHelp::cmdForward_Click() {
    if (forward_.empty()) {
        return;
    }
    back_.push_back(CurrentPlace());
    const Page page = forward_.back();
    forward_.pop_back();
    Show(page);
}

void frmHelp::cmdUserGuide_Click() {
    ShowUserGuide();
}

void frmHelp::cmdClose_Click() {
    close();
}

// A link to a guide (a Markdown file, relative to the page) opens here, at the heading it names;
// a link within the page goes to its heading; anything else goes to the desktop.
void frmHelp::txbGuide_AnchorClicked(const QUrl& link) {
    if (!link.scheme().isEmpty() && !link.isLocalFile()) {
        OpenOutside(link);
        return;
    }
    const QString anchor = link.fragment();
    QString path = link.isLocalFile() ? link.toLocalFile() : link.path();
    if (path.isEmpty()) {
        if (page_.kind == PageKind::Guide) {
            Visit(page_, anchor);
        }
        return;
    }
    if (QFileInfo(path).isRelative()) {
        const QString folder =
            page_.kind == PageKind::Guide ? QFileInfo(loaded_).absolutePath() : folders_.value(0);
        path = QDir::cleanPath(QDir(folder).absoluteFilePath(path));
    }
    if (!IsGuide(path)) {
        OpenOutside(QUrl::fromLocalFile(path));
        return;
    }
    Page page;
    page.path = path;
    Visit(page, anchor);
}

void frmHelp::OpenOutside(const QUrl& url) {
    if (openUrl_ && openUrl_(url)) {
        return;
    }
    if (url.isLocalFile()) {
        host_.messageBox(state_.settings.Caption(Caption::HelpTitle),
                         state_.settings.Text(kTextNoApplicationOpens) + QStringLiteral("\n") +
                             QDir::toNativeSeparators(url.toLocalFile()),
                         MsgIcon::Exclamation);
    } else {
        host_.messageBox(QStringLiteral("Cannot launch web browser"),
                         QStringLiteral("Error launching web browser. Please make sure that your "
                                        "web browser is correctly installed and configured"),
                         MsgIcon::Exclamation);
    }
}

void frmHelp::tvwContents_Click(QTreeWidgetItem* item) {
    if (item != nullptr) {
        ScrollToBlock(item->data(0, Qt::UserRole).toInt());
    }
}

// ---------------------------------------------------------------------------------------------
// Finding: every match of the find box is marked; the current one is selected.

void frmHelp::txbFind_Change() {
    HighlightMatches();
    SelectMatch(false, true);
}

void frmHelp::cmdFindNext_Click() {
    SelectMatch(false, false);
}

void frmHelp::cmdFindPrevious_Click() {
    SelectMatch(true, false);
}

void frmHelp::HighlightMatches() {
    matches_.clear();
    QList<QTextEdit::ExtraSelection> marks;
    const QString word = txbFind->text();
    if (!word.isEmpty()) {
        QTextCharFormat mark;
        mark.setBackground(QColor(255, 225, 60));
        mark.setForeground(QColor(Qt::black));
        const QTextDocument* document = txbGuide->document();
        for (QTextCursor hit = document->find(word); !hit.isNull();
             hit = document->find(word, hit)) {
            matches_.emplace_back(hit.selectionStart(), hit.selectionEnd());
            marks.append({hit, mark});
        }
    }
    txbGuide->setExtraSelections(marks);
}

// The next (or previous) match from the cursor, round the end of the page to its other end.
// While typing, the match at the cursor stays (it grows with the word).
void frmHelp::SelectMatch(bool backward, bool fromSelectionStart) {
    if (matches_.empty()) {
        ShowFindResult();
        return;
    }
    const QTextCursor cursor = txbGuide->textCursor();
    const int from = cursor.selectionStart();
    std::size_t index = 0;
    if (backward) {
        const auto after = std::lower_bound(matches_.begin(), matches_.end(),
                                            std::pair{from, from});  // first at or after
        index = after == matches_.begin() ? matches_.size() - 1
                                          : static_cast<std::size_t>(after - matches_.begin()) - 1;
    } else {
        const bool past = cursor.hasSelection() && !fromSelectionStart;
        const auto next = std::find_if(matches_.begin(), matches_.end(), [&](const auto& match) {
            return past ? match.first > from : match.first >= from;
        });
        index = next == matches_.end() ? 0 : static_cast<std::size_t>(next - matches_.begin());
    }
    QTextCursor select(txbGuide->document());
    select.setPosition(matches_[index].first);
    select.setPosition(matches_[index].second, QTextCursor::KeepAnchor);
    txbGuide->setTextCursor(select);
    txbGuide->ensureCursorVisible();
    ShowFindResult();
}

// "3 of 12" (a dash while no match is selected), "Not found", or nothing while the find box is
// empty.
void frmHelp::ShowFindResult() {
    const bool searching = !matches_.empty();
    cmdFindPrevious->setEnabled(searching);
    cmdFindNext->setEnabled(searching);
    if (txbFind->text().isEmpty()) {
        lblFindResult->clear();
        return;
    }
    if (!searching) {
        lblFindResult->setText(state_.settings.Caption(Caption::HelpNoMatch));
        return;
    }
    const QTextCursor cursor = txbGuide->textCursor();
    const auto current = std::find(matches_.begin(), matches_.end(),
                                   std::pair{cursor.selectionStart(), cursor.selectionEnd()});
    const QString number = current == matches_.end()
                               ? QStringLiteral("\u2013")
                               : QString::number(current - matches_.begin() + 1);
    lblFindResult->setText(
        state_.settings.Caption(Caption::HelpMatchOf).arg(number).arg(matches_.size()));
}

void frmHelp::EndSearch() {
    txbFind->clear();
    txbGuide->setFocus(Qt::OtherFocusReason);
}

// Escape in the find box ends the search; anywhere else it closes the window.
void frmHelp::EscapePressed() {
    if (txbFind->hasFocus() && !txbFind->text().isEmpty()) {
        EndSearch();
    } else {
        close();
    }
}

bool frmHelp::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txbFind && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            SelectMatch(key->modifiers().testFlag(Qt::ShiftModifier), false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Place on the screen: the first time over the middle of the main window, later where it was.

void frmHelp::hideEvent(QHideEvent* event) {
    if (!event->spontaneous()) {
        geometry_ = saveGeometry();
    }
    QWidget::hideEvent(event);
}

void frmHelp::PlaceFirstTime() {
    const QWidget* owner = parentWidget();
    const QScreen* screen = owner != nullptr ? owner->screen() : this->screen();
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size(std::min(room.width(), std::max(TwipsToPixels(this, 13500), room.width() / 2)),
                     std::min(room.height(), room.height() * 4 / 5));
    resize(size.expandedTo(minimumSize()));
    const QPoint centre = owner != nullptr ? owner->frameGeometry().center() : room.center();
    move(centre - QPoint(width() / 2, height() / 2));
}

}  // namespace daybridge
