// The derivation as the page shows it. The core hands over an HTML fragment, built from the
// run's events: numbered steps under phase headings, the two normal forms marked, every
// formula's LaTeX in a data-tex attribute. Formulas are typeset with KaTeX when they come near
// the visible part of the page, so that long derivations appear at once.
'use strict';

const UmbrixDerivation = (() => {
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

  /// Replaces the container's content by the fragment and typesets its formulas as they come
  /// into view.
  function show(html, container) {
    if (observer) observer.disconnect();
    observer = new IntersectionObserver(typeset, {rootMargin: '600px 0px'});
    container.innerHTML = html;
    for (const formula of container.querySelectorAll('.formel[data-tex]')) observer.observe(formula);
  }

  return {show};
})();
