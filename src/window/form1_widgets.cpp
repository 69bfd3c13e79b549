// The window's widgets and their places. The reference layout is given in twips (15 to a
// pixel); it is stretched, horizontally and vertically apart, just enough that no text is
// cut off at the machine's font, and nothing moves or resizes afterwards.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <vector>

#include "render/texts.hpp"
#include "typesetting/typesetting.hpp"
#include "window/form1.hpp"
#include "window/formula_edit.hpp"
#include "window/window_texts.hpp"

namespace umbrix::window {

namespace {

constexpr double kTwipsPerPixel = 15.0;
constexpr int kClientWidth = 11190;
// Two lines under the help text name the other notations; the rows below them move down.
constexpr int kNotationHeight = 510;
constexpr int kClientHeight = 5685 + kNotationHeight;

struct Twips {
  int left, top, width, height;
};

constexpr Twips kLabel1{0, 0, 1335, 255};
// In the free rest of the first row, flush right above the formulas' right edge.
constexpr Twips kHelpToggle{1440, 0, 8655, 255};
constexpr Twips kText1{0, 240, 10095, 3255};
constexpr Twips kLabel4{10200, 240, 975, 1455};
constexpr Twips kLabel2{0, 3600, 11175, 975};
constexpr Twips kNotation{0, 4590, 11175, kNotationHeight};
constexpr Twips kLabel3{0, 4680 + kNotationHeight, 1695, 255};
constexpr Twips kText2{0, 4920 + kNotationHeight, 11175, 285};
constexpr Twips kCommand1{0, 5280 + kNotationHeight, 1215, 375};
constexpr Twips kOption1[3] = {{1320, 5280 + kNotationHeight, 1935, 255},
                               {3360, 5280 + kNotationHeight, 1935, 255},
                               {5400, 5280 + kNotationHeight, 2055, 255}};
constexpr Twips kCommand2{9720, 5280 + kNotationHeight, 1455, 375};
// Beside the option group, in the free space before Quit.
constexpr Twips kGesetzeBox{7560, 5280 + kNotationHeight, 2055, 255};
// Below the reference layout and its status line: the derivation view.
constexpr int kDerivationHeight = 4800;
// In pixels: what a short window leaves the formula input and the view, and the height of a
// window's title bar and frame that the screen must hold besides the window.
constexpr int kLeastFormulasHeight = 72;
constexpr int kLeastViewHeight = 150;
constexpr int kWindowFrameHeight = 40;

struct Placed {
  QWidget* widget;
  Twips box;
};

struct Stretch {
  double x = 1.0;
  double y = 1.0;
};

int Pixels(int twips, double stretch) {
  return static_cast<int>(std::lround(twips * stretch / kTwipsPerPixel));
}

QString LegendHtml() {
  const LegendRows legend = ConnectiveLegendRows(texts::kConnectiveLegend);
  QString html =
      "<table cellspacing=0 cellpadding=0><tr><td colspan=2>" + legend.heading.toHtmlEscaped() + "</td></tr>";
  for (const auto& [connective, name] : legend.rows)
    html += "<tr><td>" + connective.toHtmlEscaped() + "&nbsp;&nbsp;</td><td>" + name.toHtmlEscaped() +
            "</td></tr>";
  return html + "</table>";
}

// The least stretch at which every text fits its box: widths first, then the heights, with
// word-wrapped labels measured at their stretched width.
Stretch FittingStretch(const std::vector<Placed>& placed) {
  Stretch stretch;
  for (const Placed& p : placed) {
    auto* label = qobject_cast<QLabel*>(p.widget);
    if (label != nullptr && label->wordWrap()) continue;
    stretch.x = std::max(stretch.x, p.widget->sizeHint().width() * kTwipsPerPixel / p.box.width);
  }
  for (const Placed& p : placed) {
    auto* label = qobject_cast<QLabel*>(p.widget);
    const int needed = label != nullptr && label->wordWrap()
                           ? label->heightForWidth(Pixels(p.box.width, stretch.x))
                           : p.widget->sizeHint().height();
    stretch.y = std::max(stretch.y, needed * kTwipsPerPixel / p.box.height);
  }
  return stretch;
}

}  // namespace

void Form1::BuildWidgets() {
  setWindowTitle(texts::kCaption);
  BuildInputs();
  BuildLabels();
  BuildActions();
  BuildDerivation();
  PlaceWidgets();
  SetTabOrder();
}

void Form1::BuildInputs() {
  text1Edit_ = new FormulaEdit(this, [this](qsizetype length) {
    services_.dialogs->Error(this, LongLineText(length, FormulaEdit::kLongestLine));
  });
  text1Edit_->setObjectName("Text1");
  text1Edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text1Edit_->setTabChangesFocus(true);
  text1Edit_->setPlainText(QString::fromUtf8(texts::kSampleFormulas).remove('\r'));
  text2Edit_ = new QLineEdit(QString::fromUtf8(texts::kDefaultOutputName), this);
  text2Edit_->setObjectName("Text2");
}

void Form1::BuildLabels() {
  formulasLabel_ = new QLabel("Formel(n):", this);
  legendLabel_ = new QLabel(LegendHtml(), this);
  legendLabel_->setTextFormat(Qt::RichText);
  legendLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  helpLabel_ = new QLabel(QString::fromUtf8(texts::kHelpText), this);
  helpLabel_->setWordWrap(true);
  helpLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  notationLine_ = new QLabel(QString::fromUtf8(texts::kNotationLine), this);
  notationLine_->setWordWrap(true);
  notationLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  helpToggle_ = new QLabel(HelpToggleText(true), this);
  helpToggle_->setTextFormat(Qt::RichText);
  helpToggle_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  helpToggle_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  helpToggle_->setToolTip(
      QString::fromUtf8("Der Hilfetext und die Zeilen darunter; ausgeblendet hat die "
                        "Herleitung mehr Platz"));
  outputNameLabel_ = new QLabel("Ausgabe (.TEX-)Datei:", this);
  statusLine_ = new QLabel(this);
  statusLine_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  const char* names[] = {"Label1",          "Label4", "Label2",    "NotationLine",
                         "HilfeUmschalten", "Label3", "StatusLine"};
  QLabel* labels[] = {formulasLabel_, legendLabel_,     helpLabel_, notationLine_,
                      helpToggle_,    outputNameLabel_, statusLine_};
  for (std::size_t i = 0; i < std::size(labels); ++i) labels[i]->setObjectName(names[i]);
}

void Form1::BuildActions() {
  command1_ = new QPushButton("&Start", this);
  command1_->setObjectName("Command1");
  command2_ = new QPushButton("&Beenden", this);
  command2_->setObjectName("Command2");
  for (const OptionInfo& info : kOptionTable) {
    const int entry = EntryNumber(info.entry);
    option1_[entry] = new QRadioButton(QString::fromUtf8(info.caption.data(), info.caption.size()), this);
    option1_[entry]->setObjectName(QString("Option1_%1").arg(entry));
  }
  option1_[0]->setChecked(true);
  gesetzeBox_ = new QCheckBox(QString::fromUtf8(texts::kGesetzeCaption), this);
  gesetzeBox_->setObjectName("GesetzeAngeben");
  gesetzeBox_->setToolTip(QStringLiteral("Bei jedem Schritt am rechten Rand die angewandten Gesetze nennen"));
  sizeLimitBox_ = new QCheckBox(QString::fromUtf8(texts::kSizeLimitCaption), this);
  sizeLimitBox_->setObjectName("Groessengrenze");
  sizeLimitBox_->setChecked(true);
  sizeLimitBox_->setToolTip(QString::fromUtf8(
      "Das Dokument höchstens 100 MB groß werden lassen, das sind Zehntausende Seiten. Wird es größer, hält "
      "der Lauf an, und die vorige Datei bleibt. Ohne Häkchen schreibt Umbrix ohne Grenze."));
  ergebnisBox_ = new QCheckBox(QString::fromUtf8(texts::kErgebnisCaption), this);
  ergebnisBox_->setObjectName("Ergebnis");
  ergebnisBox_->setToolTip(QString::fromUtf8(texts::kErgebnisHint));
}

void Form1::BuildDerivation() {
  derivation_ = new DerivationView(this);
  checkButton_ = new QPushButton(QString::fromUtf8("Herleitung prüfen …"), this);
  checkButton_->setObjectName("HerleitungPruefenKnopf");
  checkButton_->setToolTip(QString::fromUtf8(
      "Eine eigene Herleitung Schritt für Schritt prüfen: zu jedem Schritt das Gesetz oder der Fehler mit "
      "einem Gegenbeispiel"));
  pdfButton_ = new QPushButton("&PDF", this);
  pdfButton_->setObjectName("PdfButton");
  pdfButton_->setEnabled(false);
  pdfButton_->setToolTip(
      FindOnPath("pdflatex").empty()
          ? QString::fromUtf8(kPdflatexMissing)
          : QStringLiteral("Das geschriebene Dokument mit pdflatex übersetzen und das PDF öffnen"));
}

void Form1::PlaceWidgets() {
  const std::vector<Placed> placed = {
      {formulasLabel_, kLabel1},   {helpToggle_, kHelpToggle}, {text1Edit_, kText1},
      {legendLabel_, kLabel4},     {helpLabel_, kLabel2},      {notationLine_, kNotation},
      {outputNameLabel_, kLabel3}, {text2Edit_, kText2},       {command1_, kCommand1},
      {option1_[0], kOption1[0]},  {option1_[1], kOption1[1]}, {option1_[2], kOption1[2]},
      {gesetzeBox_, kGesetzeBox},  {command2_, kCommand2}};
  const Stretch stretch = FittingStretch(placed);
  for (const Placed& p : placed) {
    const QRect box(Pixels(p.box.left, stretch.x), Pixels(p.box.top, stretch.y),
                    Pixels(p.box.width, stretch.x), Pixels(p.box.height, stretch.y));
    const Anchor anchor = p.widget == text1Edit_                              ? Anchor::Formulas
                          : p.widget == legendLabel_ || p.widget == command2_ ? Anchor::Right
                          : p.widget == helpLabel_ || p.widget == notationLine_ || p.widget == text2Edit_ ||
                                  p.widget == helpToggle_
                              ? Anchor::Widen
                              : Anchor::Fixed;
    placed_.push_back({p.widget, box, anchor});
  }
  const int clientWidth = Pixels(kClientWidth, stretch.x);
  const int clientHeight = Pixels(kClientHeight, stretch.y);
  const int rowHeight = std::max(statusLine_->sizeHint().height() + 4, pdfButton_->sizeHint().height());
  const int pdfWidth = std::max(Pixels(kCommand2.width, stretch.x),
                                pdfButton_->fontMetrics().horizontalAdvance("PDF abbrechen") + 24);
  // The row below: the status line, then the size limit and "Ergebnis" beside the PDF button,
  // since they are about the document rather than the derivation's steps.
  const int ergebnisWidth = ergebnisBox_->sizeHint().width();
  const int ergebnisLeft = clientWidth - pdfWidth - 8 - ergebnisWidth;
  const int sizeLimitWidth = sizeLimitBox_->sizeHint().width();
  const int sizeLimitLeft = ergebnisLeft - 8 - sizeLimitWidth;
  const int checkWidth = checkButton_->sizeHint().width();
  const int checkLeft = sizeLimitLeft - 8 - checkWidth;
  placed_.push_back({statusLine_, QRect(0, clientHeight, checkLeft - 4, rowHeight), Anchor::Widen});
  placed_.push_back({checkButton_, QRect(checkLeft, clientHeight, checkWidth, rowHeight), Anchor::Right});
  placed_.push_back(
      {sizeLimitBox_, QRect(sizeLimitLeft, clientHeight, sizeLimitWidth, rowHeight), Anchor::Right});
  placed_.push_back(
      {ergebnisBox_, QRect(ergebnisLeft, clientHeight, ergebnisWidth, rowHeight), Anchor::Right});
  placed_.push_back(
      {pdfButton_, QRect(clientWidth - pdfWidth, clientHeight, pdfWidth, rowHeight), Anchor::Right});
  const int viewTop = clientHeight + rowHeight + 4;
  const int viewHeight = Pixels(kDerivationHeight, stretch.y);
  placed_.push_back({derivation_, QRect(0, viewTop, clientWidth, viewHeight), Anchor::View});
  referenceSize_ = QSize(clientWidth, viewTop + viewHeight);
  const int formulasSpare = Pixels(kText1.height, stretch.y) - kLeastFormulasHeight;
  leastHeight_ = referenceSize_.height() - formulasSpare - (viewHeight - kLeastViewHeight);
  belowHelpTop_ = Pixels(kLabel3.top, stretch.y);
  helpHeight_ = belowHelpTop_ - Pixels(kLabel2.top, stretch.y);
  UpdateMinimumSize();
  // A screen too short for the reference arrangement (a laptop's) starts with the help folded.
  ShowHelp(StartSize().height() >= referenceSize_.height());
  resize(StartSize());
}

// Folded, the help text and the notation lines give their room to the derivation view.
void Form1::ShowHelp(bool shown) {
  helpShown_ = shown;
  helpLabel_->setVisible(shown);
  notationLine_->setVisible(shown);
  helpToggle_->setText(HelpToggleText(shown));
  UpdateMinimumSize();
  ApplyLayout(isVisible() ? size() : referenceSize_);
}

void Form1::UpdateMinimumSize() {
  setMinimumSize(referenceSize_.width(), leastHeight_ - (helpShown_ ? 0 : helpHeight_));
}

// Extra width widens the inputs and the view and moves the right column along; extra height
// goes to the derivation view. A window shorter than the reference takes the height from the
// formula input first (down to a few lines), then from the view. The folded help's room goes
// to the view.
void Form1::ApplyLayout(QSize size) {
  const int dx = std::max(0, size.width() - referenceSize_.width());
  const int fold = helpShown_ ? 0 : helpHeight_;
  const int dy = size.height() - referenceSize_.height();
  int formulasShrink = 0;
  int formulasBottom = 0;
  for (const PlacedWidget& p : placed_)
    if (p.anchor == Anchor::Formulas) {
      formulasShrink = dy < 0 ? std::min(-dy, p.box.height() - kLeastFormulasHeight) : 0;
      formulasBottom = p.box.bottom();
    }
  for (const PlacedWidget& p : placed_) {
    QRect box = p.box;
    if (p.anchor == Anchor::Right) box.translate(dx, 0);
    if (p.anchor == Anchor::Widen || p.anchor == Anchor::Formulas || p.anchor == Anchor::View)
      box.setWidth(box.width() + dx);
    if (box.top() > formulasBottom) box.translate(0, -formulasShrink);
    if (p.box.top() >= belowHelpTop_) box.translate(0, -fold);
    if (p.anchor == Anchor::Formulas) box.setHeight(box.height() - formulasShrink);
    if (p.anchor == Anchor::View)
      box.setHeight(std::max(kLeastViewHeight, box.height() + dy + formulasShrink + fold));
    p.widget->setGeometry(box);
  }
}

// The reference size where the screen has room for it; on a smaller screen (a laptop's
// 1366x768) as tall as the screen allows, the formula input giving up its room first.
QSize Form1::StartSize() const {
  const QScreen* shown = screen();
  if (shown == nullptr) return referenceSize_;
  const int available = shown->availableGeometry().height() - kWindowFrameHeight;
  return {referenceSize_.width(), std::clamp(available, minimumHeight(), referenceSize_.height())};
}

void Form1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!placed_.empty()) ApplyLayout(size());
}

// Text1, Text2, Start, Quit, then the options; labels take no focus.
void Form1::SetTabOrder() {
  QWidget* order[] = {text1Edit_,   text2Edit_,  command1_,   command2_,    option1_[0],
                      option1_[1],  option1_[2], gesetzeBox_, checkButton_, sizeLimitBox_,
                      ergebnisBox_, pdfButton_,  helpToggle_, derivation_};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

}  // namespace umbrix::window
