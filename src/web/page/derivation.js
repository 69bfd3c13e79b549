// The derivation as the page shows it. The core hands over an HTML fragment, built from the
// run's events: numbered steps under phase headings, the two normal forms marked, every
// formula's LaTeX in a data-tex attribute. Formulas are typeset with KaTeX when they come near
// the visible part of the page, so that long derivations appear at once. Each formula's block
// opens with a summary of its normal forms, linked to their phases, and of its minimal forms
// when the block has the section "Ergebnis"; a long phase shows only its first and last step
// until the reader asks for all of them.
'use strict';

const UmbrixDerivation = (() => {
  /// Phases with more steps than this are collapsed to their first and last step.
  const kLongestOpenPhase = 6;
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

  function element(name, className, text) {
    const made = document.createElement(name);
    if (className) made.className = className;
    if (text) made.textContent = text;
    return made;
  }

  // A copy of a step's formula, typeset like the steps themselves.
  function formulaCopy(step) {
    const formula = step.querySelector('.formel[data-tex]');
    const copy = element('span', 'formel');
    copy.dataset.tex = formula ? formula.dataset.tex : '';
    copy.textContent = copy.dataset.tex;
    return copy;
  }

  // A line of the summary: the name, linked to target, and a copy of the formula in source.
  function summaryLine(name, target, id, source) {
    target.id = id;
    const line = element('p', 'kurz');
    const link = element('a', '', name);
    link.href = '#' + id;
    line.append(link, ' ', formulaCopy(source));
    return line;
  }

  // The first minimal form of a kind ("dnf", "knf") in the section "Ergebnis", if it has one;
  // "Eine" when the section gives several or does not know whether there are more.
  function minimalLine(block, blockNumber, kind) {
    const forms = block.querySelectorAll('p.minimal-' + kind);
    if (forms.length === 0) return null;
    const only = forms.length === 1 && forms[0].firstChild && forms[0].firstChild.nodeType === Node.TEXT_NODE &&
        forms[0].firstChild.textContent.trim() !== '';
    const adjective = kind === 'dnf' ? 'disjunktive' : 'konjunktive';
    const name = (only ? 'Minimale ' : 'Eine minimale ') + adjective + ' Form:';
    return summaryLine(name, forms[0], 'f' + blockNumber + '-minimal-' + kind, forms[0]);
  }

  // Both normal forms at the top of the block, each linked to the phase that ends with it,
  // then the minimal forms, linked to the section.
  function summarise(block, blockNumber) {
    const results = block.querySelectorAll('li.ergebnis');
    if (results.length === 0) return;
    const summary = element('div', 'zusammenfassung');
    results.forEach((result, k) => {
      const phase = result.closest('ol').previousElementSibling;
      const name = (result.querySelector('.marke') || result).textContent.trim();
      const id = 'f' + blockNumber + '-normalform-' + k;
      summary.append(summaryLine(name.charAt(0).toUpperCase() + name.slice(1) + ':', phase || result, id, result));
    });
    for (const kind of ['dnf', 'knf']) {
      const line = minimalLine(block, blockNumber, kind);
      if (line) summary.append(line);
    }
    const heading = block.querySelector('h3');
    if (heading) heading.after(summary);
    else block.prepend(summary);
  }

  // Hides the middle steps of a long phase behind a button that shows them.
  function collapse(list) {
    const steps = Array.from(list.children);
    if (steps.length <= kLongestOpenPhase) return;
    const hidden = steps.slice(1, -1);
    for (const step of hidden) step.classList.add('zugeklappt');
    const item = element('li', 'aufklappen');
    const button = element('button', 'alle-schritte', 'alle ' + steps.length + ' Schritte zeigen');
    button.type = 'button';
    button.addEventListener('click', () => {
      for (const step of hidden) step.classList.remove('zugeklappt');
      item.remove();
    });
    item.append(button);
    steps[0].after(item);
  }

  /// Replaces the container's content by the fragment and typesets its formulas as they come
  /// into view.
  function show(html, container) {
    if (observer) observer.disconnect();
    observer = new IntersectionObserver(typeset, {rootMargin: '600px 0px'});
    container.innerHTML = html;
    container.querySelectorAll('.herleitung-formel').forEach((block, k) => {
      summarise(block, k + 1);
      block.querySelectorAll('ol.schritte').forEach(collapse);
    });
    for (const formula of container.querySelectorAll('.formel[data-tex]')) observer.observe(formula);
  }

  /// Typesets every formula at once, for printing.
  function typesetAll(container) {
    for (const formula of container.querySelectorAll('.formel[data-tex]:not(.gesetzt)')) {
      if (observer) observer.unobserve(formula);
      katex.render(formula.dataset.tex, formula, {throwOnError: false, output: 'htmlAndMathml'});
      formula.classList.add('gesetzt');
    }
  }

  return {show, typesetAll};
})();
