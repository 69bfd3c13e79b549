// The derivation as the page shows it: the document's lines read back into formulas, each
// with its numbered steps, grouped into phases under the document's own sentences, the two
// normal forms marked. Formulas are typeset with KaTeX when they come near the visible part
// of the page, so that long derivations appear at once.
'use strict';

const UmbrixDerivation = (() => {
  const kStepPrefix = '$\\sim$ $';
  const kHeading = /^\\textbf\{(\d+\. Formel)\}/;
  const kMergeSentence = 'Zusammenfassen der mehrfach vorkommenden Literale ergibt:';
  const kResultNames = ['disjunktive Normalform', 'konjunktive Normalform'];
  // Lines of the document's frame that carry nothing to show.
  const kFrame = /^(\\par\\setcounter|\\vspace\{1cm\}$|\\end\{document\}$)/;

  function newFormula(title) {
    return {title, phases: [{sentence: null, steps: []}]};
  }

  // The last step after each of the two merge sentences is a normal form: the disjunctive,
  // then the conjunctive one.
  function markResults(formula) {
    const merges = formula.phases.filter((phase) => phase.sentence === kMergeSentence && phase.steps.length);
    merges.slice(0, kResultNames.length).forEach((phase, index) => {
      phase.steps[phase.steps.length - 1].result = kResultNames[index];
    });
  }

  /// The formulas of a document's text: [{title, phases: [{sentence, steps: [{number, tex,
  /// result}]}]}]; title is null for a single formula.
  function parse(text) {
    const lines = text.split('\r\n');
    const begin = lines.indexOf('\\begin{document}');
    const formulas = [];
    let current = null;
    let number = 0;
    for (const line of lines.slice(begin + 1)) {
      const heading = kHeading.exec(line);
      if (heading) {
        current = newFormula(heading[1]);
        formulas.push(current);
        number = 0;
        continue;
      }
      if (line === '' || kFrame.test(line)) continue;
      if (!current) {
        current = newFormula(null);
        formulas.push(current);
      }
      const phases = current.phases;
      if (line.startsWith(kStepPrefix) || line.startsWith('$')) {
        const start = line.startsWith(kStepPrefix) ? kStepPrefix.length : 1;
        phases[phases.length - 1].steps.push({number: ++number, tex: line.slice(start, -1), result: null});
      } else {
        phases.push({sentence: line.replace(/\\vspace\{[^}]*\}/g, ''), steps: []});
      }
    }
    formulas.forEach(markResults);
    return formulas;
  }

  function element(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined) node.textContent = text;
    return node;
  }

  function renderStep(step) {
    const item = element('li', step.result ? 'schritt ergebnis' : 'schritt');
    item.value = step.number;
    const formula = element('span', 'formel', step.tex);
    formula.dataset.tex = step.tex;
    item.append(element('span', 'nummer', step.number + '.'), formula);
    if (step.result) item.append(element('span', 'marke', step.result));
    return item;
  }

  function renderPhase(phase) {
    const part = element('div', 'phase');
    if (phase.sentence) part.append(element('p', 'satz', phase.sentence));
    if (phase.steps.length > 0) {
      const list = element('ol', 'schritte');
      list.start = phase.steps[0].number;
      for (const step of phase.steps) list.append(renderStep(step));
      part.append(list);
    }
    return part;
  }

  let observer = null;

  function typeset(entries) {
    for (const entry of entries) {
      if (!entry.isIntersecting) continue;
      const formula = entry.target;
      observer.unobserve(formula);
      katex.render(formula.dataset.tex, formula, {throwOnError: false, output: 'htmlAndMathml'});
      formula.classList.add('gesetzt');
    }
  }

  /// Replaces the container's content by the formulas of parse().
  function render(formulas, container) {
    if (observer) observer.disconnect();
    observer = new IntersectionObserver(typeset, {rootMargin: '600px 0px'});
    const fragment = document.createDocumentFragment();
    for (const formula of formulas) {
      const section = element('section', 'herleitung-formel');
      if (formula.title) section.append(element('h3', null, formula.title));
      for (const phase of formula.phases) section.append(renderPhase(phase));
      fragment.append(section);
    }
    container.replaceChildren(fragment);
    for (const formula of container.querySelectorAll('.formel')) observer.observe(formula);
  }

  return {parse, render};
})();
