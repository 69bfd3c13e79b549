// The sentences of a checked derivation and their two spellings.
#include "derivation_check/check_render.hpp"

#include <algorithm>

#include "boolean_function/truth_table.hpp"
#include "derivation_check/check_texts.hpp"
#include "render/latex_render.hpp"
#include "render/readable_render.hpp"
#include "render/symbols.hpp"
#include "render/texts.hpp"
#include "utilities/utf8_text.hpp"

namespace umbrix {

namespace {

using Ptr = Ausdruck::Ptr;

Satzteil Text(std::string text) { return {std::move(text), nullptr}; }
Satzteil Formula(Ptr formel) { return {{}, std::move(formel)}; }

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// The verdict's sentence: "richtig: Distributivgesetz" and, where a line was left out, the
// line it was compared with.
Satz VerdictSentence(const Herleitungsschritt& schritt, const GepruefteHerleitung& herleitung) {
  const Schrittbewertung& bewertung = schritt.bewertung;
  std::string text(pruef_texts::TextOf(bewertung.urteil).text);
  if (!bewertung.gesetze.empty()) text += ": " + GesetzeText(bewertung.gesetze);
  if (bewertung.urteil == Urteil::NichtGeprueft) text += ". " + std::string(pruef_texts::kZuVieleVariablen);
  if (schritt.vorher + 1 != schritt.nachher)
    text += " (" + std::string(pruef_texts::kVerglichenMit) + " " +
            std::to_string(herleitung.gelesen.zeilen[schritt.vorher].zeile) + ")";
  return {Text(text)};
}

Satz CounterexampleSentence(const Gegenbeispiel& gegenbeispiel) {
  auto value = [](bool wahr) { return std::string(wahr ? pruef_texts::kWahr : pruef_texts::kFalsch); };
  Satz satz{Text(std::string(pruef_texts::kGegenbeispiel) + ": ")};
  for (std::size_t k = 0; k < gegenbeispiel.belegung.size(); ++k) {
    const auto [index, wahr] = gegenbeispiel.belegung[k];
    if (k > 0) satz.push_back(Text(", "));
    satz.push_back(Formula(Ausdruck::Variable(index)));
    satz.push_back(Text(" = " + value(wahr)));
  }
  satz.push_back(Text(". Dann ist die Zeile davor " + value(gegenbeispiel.vorher) + " und diese Zeile " +
                      value(gegenbeispiel.nachher) + "."));
  return satz;
}

// The class's sentence with its parts put in for {alt}, {richtig} and {falsch}.
Satz MistakeSentence(const Fehlerbefund& fehler) {
  const pruef_texts::FehlerklassenText& text = pruef_texts::TextOf(fehler.klasse);
  Satz satz{Text(std::string(pruef_texts::kFehler) + ": " + std::string(text.name) + ". ")};
  std::string_view rest = text.satz;
  const std::pair<std::string_view, Ptr> parts[] = {
      {"{alt}", fehler.alt}, {"{richtig}", fehler.richtig}, {"{falsch}", fehler.falsch}};
  while (!rest.empty()) {
    std::size_t next = std::string_view::npos;
    const std::pair<std::string_view, Ptr>* part = nullptr;
    for (const auto& candidate : parts) {
      const std::size_t at = rest.find(candidate.first);
      if (at < next) next = at, part = &candidate;
    }
    satz.push_back(Text(std::string(rest.substr(0, next))));
    if (part == nullptr) break;
    satz.push_back(Formula(part->second));
    rest.remove_prefix(next + part->first.size());
  }
  return satz;
}

Satz SummarySentence(const GepruefteHerleitung& herleitung) {
  const std::size_t steps = herleitung.schritte.size();
  std::size_t wrong = 0, unread = 0, unchecked = 0;
  for (const Herleitungsschritt& schritt : herleitung.schritte) {
    wrong += schritt.bewertung.urteil == Urteil::Falsch;
    unchecked += schritt.bewertung.urteil == Urteil::NichtGeprueft;
  }
  for (const Herleitungszeile& zeile : herleitung.gelesen.zeilen) unread += !zeile.formel;
  std::string text;
  if (steps == 0)
    text = "Die Herleitung hat keinen Schritt, der geprüft werden kann.";
  else if (wrong == 0 && unchecked == 0)
    text =
        steps == 1 ? "Der Schritt ist richtig." : "Alle " + std::to_string(steps) + " Schritte sind richtig.";
  else if (wrong > 0 && steps == 1)
    text = "Der Schritt ist falsch.";
  else if (wrong > 0)
    text = std::to_string(wrong) + " von " + std::to_string(steps) + " Schritten " +
           (wrong == 1 ? "ist" : "sind") + " falsch.";
  if (unchecked > 0)
    text += (text.empty() ? "" : " ") + Counted(unchecked, "Schritt wurde", "Schritte wurden") +
            " nicht geprüft.";
  if (unread > 0) text += " " + Counted(unread, "Zeile konnte", "Zeilen konnten") + " nicht gelesen werden.";
  return {Text(text)};
}

std::string_view FormName(NormalFormKind form) {
  return form == NormalFormKind::Dis ? "disjunktive Normalform (DNF)" : "konjunktive Normalform (KNF)";
}

Satz NormalFormSentence(const Abschluss& abschluss) {
  if (!abschluss.ziel)
    return {Text("Die letzte Zeile ist weder eine disjunktive noch eine konjunktive Normalform.")};
  std::string text = "Die letzte Zeile ist ";
  bool first = true;
  for (NormalFormKind form : {NormalFormKind::Dis, NormalFormKind::Kon}) {
    const bool wanted =
        *abschluss.ziel == Ziel::Beide || (*abschluss.ziel == Ziel::Dnf) == (form == NormalFormKind::Dis);
    if (!wanted) continue;
    const bool is = form == NormalFormKind::Dis ? abschluss.istDnf : abschluss.istKnf;
    text += std::string(first ? "" : " und ") + (is ? "eine " : "noch keine ") + std::string(FormName(form));
    first = false;
  }
  return {Text(text + ".")};
}

Satz ComparisonSentence(const Formvergleich& vergleich) {
  const bool dis = vergleich.form == NormalFormKind::Dis;
  const std::string_view one = dis ? "Term" : "Klausel";
  const std::string_view many = dis ? "Terme" : "Klauseln";
  const std::string name = dis ? "DNF" : "KNF";
  auto size = [&](std::size_t terms, std::size_t literals) {
    return Counted(terms, one, many) + " mit " + Counted(literals, "Literal", "Literalen");
  };
  if (vergleich.terme <= vergleich.minimaleTerme && vergleich.literale <= vergleich.minimaleLiterale)
    return {Text("Deine " + name + " ist minimal: " + size(vergleich.terme, vergleich.literale) + ".")};
  std::string text = "Deine " + name + " hat " + size(vergleich.terme, vergleich.literale) + ", minimal " +
                     (vergleich.minimaleTerme == 1 ? "ist " : "sind ") +
                     size(vergleich.minimaleTerme, vergleich.minimaleLiterale) + ". Tipp: ";
  if (vergleich.tipp)
    text += std::string(GesetzName(*vergleich.tipp)) + ".";
  else
    text += std::string(many) +
            ", die sich nur in einem Literal unterscheiden, mit dem Distributiv- und dem "
            "Komplementgesetz zusammenfassen.";
  return {Text(text)};
}

Satz HintSentence(const Abschluss& abschluss) {
  if (!abschluss.hinweis) return {Text("Umbrix hätte hier nichts mehr umzuformen.")};
  Satz satz{Text("Nächster Schritt, wie Umbrix ihn macht: "), Formula(abschluss.hinweis->zeile)};
  if (!abschluss.hinweis->gesetze.empty())
    satz.push_back(Text(" (" + GesetzeText(abschluss.hinweis->gesetze) + ")"));
  satz.push_back(Text("."));
  return satz;
}

// A text piece in LaTeX: the characters that LaTeX (with German babel) treats specially are
// escaped, the symbols become mathematics, and characters the document's fonts lack become "?".
std::string LatexPiece(std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Character character = DecodeCharacter(text, pos);
    const std::string_view bytes = text.substr(pos, character.length);
    pos += character.length;
    switch (character.code) {
      case U'\\':
        out += "\\textbackslash{}";
        continue;
      case U'{':
      case U'}':
      case U'$':
      case U'&':
      case U'#':
      case U'%':
      case U'_':
        out += '\\';
        out += bytes;
        continue;
      case U'~':
        out += "\\textasciitilde{}";
        continue;
      case U'^':
        out += "\\textasciicircum{}";
        continue;
      case U'"':
        out += "\\dq{}";
        continue;
      case U'<':
      case U'>':
      case U'|':
        out += "$" + std::string(bytes) + "$";
        continue;
      case U'\u2261':
        out += "$\\equiv$";
        continue;  // ≡
      case U'\u2026':
        out += "\\dots{}";
        continue;  // …
      case U'\u2713':
        out += "$\\checkmark$";
        continue;  // ✓
      case U'\u2717':
        out += "\\ding{55}";
        continue;  // ✗
      default:
        break;
    }
    if (character.code < 0x80) {
      out += bytes;
      continue;
    }
    const std::string letter = LatexText(bytes);
    if (letter != bytes) {
      out += letter;
      continue;
    }
    const auto symbol = std::find_if(std::begin(kSymbolTable), std::end(kSymbolTable),
                                     [&](const SymbolInfo& info) { return info.unicode == bytes; });
    out += symbol != std::end(kSymbolTable) ? "$" + std::string(symbol->latex) + "$" : std::string("?");
  }
  return out;
}

// Breaks a text into lines of at most width columns at blanks, where a word allows; the
// text's leading blanks stay, and the lines after the first begin with indent.
std::string Wrapped(std::string_view text, std::size_t width, std::string_view indent) {
  const std::size_t lead = std::min(text.find_first_not_of(' '), text.size());
  std::string line(text.substr(0, lead));
  text.remove_prefix(lead);
  std::string out;
  bool empty = true;  // no word on the line yet
  while (!text.empty()) {
    const std::size_t end = std::min(text.find(' '), text.size());
    const std::string_view word = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (word.empty()) continue;
    if (!empty && Columns(line) + 1 + Columns(word) > width) {
      out += line + "\n";
      line = std::string(indent);
      empty = true;
    }
    if (!empty) line += ' ';
    line += word;
    empty = false;
  }
  return out + line + "\n";
}

class TextWriter {
 public:
  explicit TextWriter(std::size_t width) : width_(width) {}

  void Derivation(const GepruefteHerleitung& herleitung, std::size_t number) {
    const VariableNames* names = NamesOf(herleitung);
    if (number > 1) out_ += "\n";
    out_ += std::string(pruef_texts::kHerleitung) + " " + std::to_string(number) + "\n";
    const std::vector<Herleitungszeile>& zeilen = herleitung.gelesen.zeilen;
    for (std::size_t k = 0; k < zeilen.size(); ++k) {
      const std::string lead =
          k == 0 ? std::string(pruef_texts::kAufgabe) + ": " : "  " + std::to_string(k) + ". ";
      const std::string formula = zeilen[k].formel ? LesbarerText(*zeilen[k].formel, names) : zeilen[k].text;
      const auto step = std::find_if(herleitung.schritte.begin(), herleitung.schritte.end(),
                                     [k](const Herleitungsschritt& schritt) { return schritt.nachher == k; });
      if (!zeilen[k].formel) {
        Line(lead, formula, "?", Problem(*zeilen[k].problem));
      } else if (step != herleitung.schritte.end()) {
        const std::vector<Satz> saetze = SchrittSaetze(*step, herleitung);
        Line(lead, formula, pruef_texts::TextOf(step->bewertung.urteil).zeichen, AlsText(saetze[0], names));
        for (std::size_t s = 1; s < saetze.size(); ++s)
          out_ += Wrapped("     " + AlsText(saetze[s], names), width_, "     ");
      } else {
        Formula(lead, formula);
      }
    }
    for (const Satz& satz : AbschlussSaetze(herleitung)) out_ += Wrapped(AlsText(satz, names), width_, "");
  }

  std::string Take() { return std::move(out_); }

 private:
  static std::string Problem(const InputProblem& problem) {
    return std::string(pruef_texts::kUnlesbar) + " (Zeile " + std::to_string(problem.line) + ", Spalte " +
           std::to_string(problem.column) + "): " + problem.message;
  }

  // The line with its verdict beside it, or below it when both do not fit.
  void Line(const std::string& lead, const std::string& formula, std::string_view mark,
            const std::string& verdict) {
    const std::string beside = lead + formula + "   " + std::string(mark) + " " + verdict;
    if (Columns(beside) <= width_) {
      out_ += beside + "\n";
      return;
    }
    Formula(lead, formula);
    out_ += Wrapped("     " + std::string(mark) + " " + verdict, width_, "       ");
  }

  // A formula after its lead, broken after a connective where it is wider than the text.
  void Formula(const std::string& lead, const std::string& formula) {
    const std::size_t indent = Columns(lead);
    const std::size_t room = width_ > indent + 10 ? width_ - indent : 10;
    const std::vector<std::string> parts = WrapFormula(formula, room);
    for (std::size_t k = 0; k < parts.size(); ++k)
      out_ += (k == 0 ? lead : std::string(indent, ' ')) + parts[k] + "\n";
  }

  std::size_t width_;
  std::string out_;
};

constexpr const char* kLatexPreamble[] = {"\\documentclass{article}",
                                          "\\usepackage[german]{babel}",
                                          "\\usepackage{amssymb}",
                                          "\\usepackage{pifont}",
                                          "\\setlength{\\parindent}{0cm}",
                                          "\\setlength{\\oddsidemargin}{0cm}",
                                          "\\setlength{\\evensidemargin}{0cm}",
                                          "\\setlength{\\textwidth}{16cm}",
                                          "\\begin{document}"};

class LatexWriter {
 public:
  void Derivation(const GepruefteHerleitung& herleitung, std::size_t number) {
    const VariableNames* names = NamesOf(herleitung);
    Line("\\section*{" + std::string(pruef_texts::kHerleitung) + " " + std::to_string(number) + "}");
    const std::vector<Herleitungszeile>& zeilen = herleitung.gelesen.zeilen;
    Line(std::string(pruef_texts::kAufgabe) + ": " + Formula(zeilen[0], names) + "\\par");
    if (!zeilen[0].formel) Line(Verdict("?", Problem(*zeilen[0].problem)) + "\\par");
    if (zeilen.size() > 1) Line("\\begin{enumerate}");
    for (std::size_t k = 1; k < zeilen.size(); ++k) Step(herleitung, k, names);
    if (zeilen.size() > 1) Line("\\end{enumerate}");
    for (const Satz& satz : AbschlussSaetze(herleitung)) Line(AlsLatex(satz, names) + "\\par");
  }

  std::string Document(const std::vector<GepruefteHerleitung>& herleitungen) {
    for (const char* line : kLatexPreamble) Line(line);
    for (std::size_t k = 0; k < herleitungen.size(); ++k) Derivation(herleitungen[k], k + 1);
    Line(texts::kDocumentEnd);
    return std::move(out_);
  }

 private:
  void Line(const std::string& line) { out_ += line + std::string(LineBreak); }

  static std::string Formula(const Herleitungszeile& zeile, const VariableNames* names) {
    if (!zeile.formel) return "\\texttt{" + LatexPiece(zeile.text) + "}";
    return "$" + LatexFormel(*zeile.formel, names) + "$";
  }

  static std::string Problem(const InputProblem& problem) {
    return LatexPiece(std::string(pruef_texts::kUnlesbar) + " (Zeile " + std::to_string(problem.line) +
                      ", Spalte " + std::to_string(problem.column) + "): " + problem.message);
  }

  static std::string Verdict(std::string_view mark, const std::string& text) {
    return "\\hfill\\mbox{" + LatexPiece(mark) + "}\\\\" + "\\emph{" + text + "}";
  }

  void Step(const GepruefteHerleitung& herleitung, std::size_t k, const VariableNames* names) {
    const Herleitungszeile& zeile = herleitung.gelesen.zeilen[k];
    Line("\\item " + Formula(zeile, names));
    if (!zeile.formel) {
      Line(Verdict("?", Problem(*zeile.problem)));
      return;
    }
    const auto step = std::find_if(herleitung.schritte.begin(), herleitung.schritte.end(),
                                   [k](const Herleitungsschritt& schritt) { return schritt.nachher == k; });
    if (step == herleitung.schritte.end()) return;
    const std::vector<Satz> saetze = SchrittSaetze(*step, herleitung);
    Line(Verdict(pruef_texts::TextOf(step->bewertung.urteil).zeichen, AlsLatex(saetze[0], names)));
    for (std::size_t s = 1; s < saetze.size(); ++s) Line("\\par " + AlsLatex(saetze[s], names));
  }

  std::string out_;
};

}  // namespace

std::vector<Satz> SchrittSaetze(const Herleitungsschritt& schritt, const GepruefteHerleitung& herleitung) {
  std::vector<Satz> saetze{VerdictSentence(schritt, herleitung)};
  if (schritt.bewertung.gegenbeispiel)
    saetze.push_back(CounterexampleSentence(*schritt.bewertung.gegenbeispiel));
  if (schritt.bewertung.fehler) saetze.push_back(MistakeSentence(*schritt.bewertung.fehler));
  return saetze;
}

std::vector<Satz> AbschlussSaetze(const GepruefteHerleitung& herleitung) {
  std::vector<Satz> saetze{SummarySentence(herleitung)};
  if (!herleitung.abschluss) return saetze;
  const Abschluss& abschluss = *herleitung.abschluss;
  saetze.push_back(NormalFormSentence(abschluss));
  if (abschluss.gleichwertigMitAufgabe == false && !herleitung.schritte.empty())
    saetze.push_back({Text("Die letzte Zeile ist nicht mehr gleichwertig mit der Aufgabe.")});
  for (const Formvergleich& vergleich : abschluss.vergleiche) saetze.push_back(ComparisonSentence(vergleich));
  if (abschluss.zuVieleVariablen && (abschluss.istDnf || abschluss.istKnf))
    saetze.push_back({Text("Mit mehr als " + std::to_string(kMostTableVariables) +
                           " Variablen wird die minimale Form nicht berechnet.")});
  if (abschluss.hinweisGefragt) saetze.push_back(HintSentence(abschluss));
  return saetze;
}

std::string AlsText(const Satz& satz, const VariableNames* names) {
  std::string out;
  for (const Satzteil& teil : satz) out += teil.formel ? LesbarerText(*teil.formel, names) : teil.text;
  return out;
}

std::string AlsLatex(const Satz& satz, const VariableNames* names) {
  std::string out;
  for (const Satzteil& teil : satz)
    out += teil.formel ? "$" + LatexFormel(*teil.formel, names) + "$" : LatexPiece(teil.text);
  return out;
}

const VariableNames* NamesOf(const GepruefteHerleitung& herleitung) {
  return herleitung.gelesen.usesLetters ? &herleitung.gelesen.names : nullptr;
}

std::string PruefungAlsText(const std::vector<GepruefteHerleitung>& herleitungen, std::size_t width) {
  TextWriter writer(width);
  for (std::size_t k = 0; k < herleitungen.size(); ++k) writer.Derivation(herleitungen[k], k + 1);
  return writer.Take();
}

std::string PruefungAlsLatex(const std::vector<GepruefteHerleitung>& herleitungen) {
  return LatexWriter().Document(herleitungen);
}

}  // namespace umbrix
