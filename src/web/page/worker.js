// The page's worker: loads the WebAssembly core and runs one conversion per message, so that
// the page stays responsive. A run cannot be interrupted from inside; the page cancels it by
// ending this worker and starting a new one.
'use strict';

importScripts('umbrix.js');

const core = createUmbrix();

core.then(
    (module) => postMessage({type: 'ready', texts: module.texts()}),
    (error) => postMessage({type: 'broken', message: String(error)}));

// "Eigene Herleitung prüfen": the verdicts of the student's derivations.
function check(module, {text, goal, hint}) {
  try {
    postMessage({type: 'checked', result: module.check(text, goal, hint)});
  } catch (error) {
    postMessage({type: 'broken', message: String(error)});
  }
}

onmessage = async (event) => {
  const module = await core;
  if (event.data.type === 'check') {
    check(module, event.data);
    return;
  }
  const {text, outputName, option, gesetze, ergebnis, cap} = event.data;
  try {
    const progress = (formula, total, lines, bytes) => postMessage({type: 'progress', formula, total, lines, bytes});
    const result = module.run(text, outputName, option, gesetze, Boolean(ergebnis), cap, progress);
    // A Blob of the pieces: the browser keeps its bytes outside the page's memory.
    const document = result.document ? new Blob(result.document, {type: 'application/x-tex'}) : null;
    delete result.document;
    postMessage({type: 'result', result, document});
  } catch (error) {
    // A trap inside the core (such as running out of stack) leaves the module unusable.
    postMessage({type: 'broken', message: String(error)});
  }
};
