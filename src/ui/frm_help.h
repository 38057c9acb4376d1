// frmHelp: the user guide inside the program. It renders the guides installed with Daybridge
// from their Markdown, with a contents list of the headings, a find box and back and forward;
// links between the guides are followed in the window, web addresses open in the desktop's
// browser. It does not depend on the desktop knowing what to do with a Markdown file.
//
// One window per main window: closing it only hides it, so F1 shows it again where it was, on
// the page it showed.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "app/app_state.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace daybridge {

class Host;

class frmHelp : public QWidget {
    Q_OBJECT
  public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    // `openUrl` hands web addresses and files that are not guides to the desktop; `host`
    // reports when that fails.
    frmHelp(const AppState& state, Host& host, UrlOpener openUrl, QWidget* parent = nullptr);

    // The folders the user guide is looked for in, in order (the program's data folders unless
    // set).
    void SetGuideFolders(const QStringList& folders);

    // Shows the window raised and active: the first time with the user guide, and again with it
    // while no guide could be found; otherwise on the page it showed.
    void ShowHelp();
    // Goes to the start of the user guide.
    void ShowUserGuide();
    void SetLanguageDependentText();

    // The guide file shown; empty while a page says that a guide was not found.
    QString CurrentGuide() const;

    QTextBrowser* txbGuide = nullptr;
    QLabel* lblContents = nullptr;
    QTreeWidget* tvwContents = nullptr;
    QLabel* lblFind = nullptr;
    QLineEdit* txbFind = nullptr;
    QLabel* lblFindResult = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdForward = nullptr;
    QPushButton* cmdUserGuide = nullptr;
    QPushButton* cmdFindPrevious = nullptr;
    QPushButton* cmdFindNext = nullptr;
    QPushButton* cmdClose = nullptr;

  public slots:
    void cmdBack_Click();
    void cmdForward_Click();
    void cmdUserGuide_Click();
    void cmdFindNext_Click();
    void cmdFindPrevious_Click();
    void cmdClose_Click();
    void txbGuide_AnchorClicked(const QUrl& link);
    void tvwContents_Click(QTreeWidgetItem* item);
    void txbFind_Change();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    enum class PageKind { Guide, UserGuideMissing, GuideMissing };
    // A place in the history: a guide and how far down it was read, or a page saying which
    // files were looked for in vain.
    struct Page {
        PageKind kind = PageKind::Guide;
        QString path;
        QStringList lookedAt;
        int scroll = 0;
    };

    void BuildWindow();
    void ConnectSignals();
    void Visit(const Page& page, const QString& anchor);
    void Show(const Page& page);
    bool LoadGuide(const QString& path);
    void ShowMissing();
    void FillContents();
    void ScrollToBlock(int blockNumber);
    Page CurrentPlace() const;
    void UpdateHistoryButtons();
    void OpenOutside(const QUrl& url);
    void HighlightMatches();
    void SelectMatch(bool backward, bool fromSelectionStart);
    void ShowFindResult();
    void EndSearch();
    void EscapePressed();
    void PlaceFirstTime();

    const AppState& state_;
    Host& host_;
    UrlOpener openUrl_;
    QStringList folders_;
    Page page_;
    QString loaded_;  // the guide file whose text the browser holds
    bool visited_ = false;
    std::vector<Page> back_;
    std::vector<Page> forward_;
    // The headings of the page: block number and the anchor a link names it by.
    std::vector<std::pair<int, QString>> headings_;
    // The search's matches in the page: start and end positions.
    std::vector<std::pair<int, int>> matches_;
    QByteArray geometry_;  // where the window was when it was hidden
};

}  // namespace daybridge
