// The page: reads the form, hands each run to the worker, shows progress, input errors at
// their line and column, the derivation and the document for download. Cancelling ends the
// worker; a fresh one takes its place.
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const form = $('eingabe');
  const formulas = $('formeln');
  const outputName = $('dateiname');
  const startButton = $('start');
  const cancelButton = $('abbrechen');
  const status = $('status');
  const progressBar = $('fortschritt');
  const errorBox = $('fehler');
  const documentBox = $('dokument');
  const downloadLink = $('herunterladen');
  const documentInfo = $('dokument-info');
  const resultSection = $('ergebnis');
  const derivation = $('herleitung');

  // The level and the check boxes are kept in the browser from one visit to the next.
  const settings = {
    read(key) {
      try { return window.localStorage.getItem('umbrix.' + key); } catch (error) { return null; }
    },
    write(key, value) {
      try { window.localStorage.setItem('umbrix.' + key, String(value)); } catch (error) { /* not kept */ }
    },
  };

  let worker = null;
  let workerReady = null;
  let running = false;
  let startedAt = 0;
  let downloadUrl = null;
  let documentCap = 0;

  function startWorker() {
    worker = new Worker('worker.js');
    workerReady = new Promise((resolve, reject) => {
      worker.onmessage = (event) => {
        if (event.data.type === 'ready') resolve(event.data.texts);
        else if (event.data.type === 'broken') reject(new Error(event.data.message));
      };
      worker.onerror = (event) => reject(new Error(event.message));
    });
    return workerReady;
  }

  function fillForm(texts) {
    // ?grenze=N lowers the cap to N megabytes (never raises it), for trying it out.
    const asked = Number(new URLSearchParams(window.location.search).get('grenze'));
    documentCap = asked > 0 ? Math.min(texts.documentCap, asked * 1024 * 1024) : texts.documentCap;
    $('grenze').textContent = sizeText(documentCap);
    formulas.value = texts.sampleFormulas.replace(/\r\n/g, '\n');
    outputName.value = texts.defaultOutputName;
    $('hilfetext').textContent = texts.helpText;
    $('notation').textContent = texts.notationLine;
    const levels = $('stufen');
    const keptLevel = Number(settings.read('stufe') || 0);
    texts.optionCaptions.forEach((caption, entry) => {
      const label = document.createElement('label');
      const radio = document.createElement('input');
      radio.type = 'radio';
      radio.name = 'stufe';
      radio.value = String(entry);
      radio.checked = entry === (keptLevel < texts.optionCaptions.length ? keptLevel : 0);
      radio.addEventListener('change', () => settings.write('stufe', entry));
      label.append(radio, caption);
      levels.append(label);
    });
    // Below the levels, not among them: every step names the laws it applied; each block ends
    // with the section "Ergebnis".
    const choices = document.createElement('div');
    choices.className = 'wahlen';
    choices.append(keptCheckBox('gesetze', 'gesetze', texts.gesetzeCaption),
                   keptCheckBox('mit-ergebnis', 'ergebnis', texts.ergebnisCaption, texts.ergebnisHint));
    levels.after(choices);
    $('ergebnis-hinweis').textContent = texts.ergebnisCaption + ': ' + texts.ergebnisHint;
  }

  // A check box whose state is kept under key.
  function keptCheckBox(id, key, caption, hint) {
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.id = id;
    box.checked = settings.read(key) === 'true';
    box.addEventListener('change', () => settings.write(key, box.checked));
    label.className = 'gesetze-wahl';
    if (hint) label.title = hint;
    label.append(box, caption);
    return label;
  }

  function setRunning(on) {
    running = on;
    startButton.disabled = on;
    cancelButton.disabled = !on;
    progressBar.hidden = !on;
    form.setAttribute('aria-busy', String(on));
  }

  function sizeText(bytes) {
    if (bytes < 1024) return bytes + ' Bytes';
    if (bytes < 1024 * 1024) return (bytes / 1024).toFixed(1).replace('.', ',') + ' KB';
    return (bytes / 1024 / 1024).toFixed(1).replace('.', ',') + ' MB';
  }

  function clearResult() {
    errorBox.hidden = true;
    errorBox.replaceChildren();
    formulas.removeAttribute('aria-invalid');
    documentBox.hidden = true;
    resultSection.hidden = true;
    derivation.replaceChildren();
    if (downloadUrl) URL.revokeObjectURL(downloadUrl);
    downloadUrl = null;
  }

  // Selects the character at a 1-based line and column of the text area.
  function showPosition(line, column) {
    const lines = formulas.value.split('\n');
    let offset = 0;
    for (let i = 0; i < line - 1 && i < lines.length; ++i) offset += lines[i].length + 1;
    offset += Math.max(0, column - 1);
    formulas.focus();
    formulas.setSelectionRange(offset, Math.min(offset + 1, formulas.value.length));
  }

  // The message as the command line writes it; each listed problem jumps to its place.
  function showProblems(message, problems) {
    const lines = message.split('\n');
    const list = document.createElement('ul');
    lines.slice(1, -1).forEach((text, index) => {
      const item = document.createElement('li');
      const problem = problems[index];
      if (problem && text.startsWith('Zeile ')) {
        const jump = document.createElement('button');
        jump.type = 'button';
        jump.className = 'stelle';
        jump.textContent = text;
        jump.addEventListener('click', () => showPosition(problem.line, problem.column));
        item.append(jump);
      } else {
        item.textContent = text;
      }
      list.append(item);
    });
    const head = document.createElement('p');
    head.textContent = lines[0];
    const tail = document.createElement('p');
    tail.textContent = lines[lines.length - 1];
    errorBox.replaceChildren(head, list, tail);
    errorBox.hidden = false;
    formulas.setAttribute('aria-invalid', 'true');
    if (problems.length > 0) showPosition(problems[0].line, problems[0].column);
  }

  function offerDocument(blob, fileName, note) {
    downloadUrl = URL.createObjectURL(blob);
    downloadLink.href = downloadUrl;
    downloadLink.download = fileName;
    documentInfo.textContent = fileName + ', ' + sizeText(blob.size) + (note ? '. ' + note : '');
    documentBox.hidden = false;
  }

  function showDerivation(result) {
    if (result.tooLarge) {
      documentInfo.textContent += '. Die Herleitung ist zu groß, um sie hier anzuzeigen: ' +
          'lade das Dokument herunter und übersetze es mit pdflatex.';
      return;
    }
    UmbrixDerivation.show(result.derivation, derivation);
    resultSection.hidden = false;
    resultSection.scrollIntoView({block: 'start'});
  }

  function finishRun(result, blob) {
    setRunning(false);
    const seconds = ((performance.now() - startedAt) / 1000).toFixed(1).replace('.', ',');
    if (result.failure === 'input') {
      status.textContent = 'Die Eingabe enthält Fehler; es wurde nichts geschrieben.';
      showProblems(result.message, result.problems);
      return;
    }
    if (result.failure) {
      status.textContent = result.message;
      if (blob && blob.size > 0)
        offerDocument(blob, result.fileName, result.failure === 'tooLarge'
            ? 'Das Dokument bis zum Abbruch ist abgeschlossen und lässt sich übersetzen.'
            : 'Das Dokument ist unvollständig: ihm fehlt das abschließende \\end{document}.');
      // A derivation stopped at a limit is shown as far as it went, with its section "Ergebnis".
      if (blob && result.failure === 'tooLarge' && (result.derivation || result.tooLarge)) showDerivation(result);
      return;
    }
    status.textContent = 'Fertig in ' + seconds + ' s.';
    offerDocument(blob, result.fileName, '');
    showDerivation(result);
  }

  // The bar shows how much of the largest document the page keeps has been written.
  function showProgress(data) {
    progressBar.max = documentCap;
    progressBar.value = Math.min(data.bytes, documentCap);
    status.textContent = 'Formel ' + data.formula + ' von ' + data.total + ': ' +
        data.lines.toLocaleString('de-DE') + ' Zeilen, ' + sizeText(data.bytes) + ' geschrieben …';
  }

  // What the browser or the core says in such a case is English and internal; the reader gets
  // what happened and what to do.
  function failRun() {
    setRunning(false);
    status.textContent = 'Der Lauf ist abgebrochen, weil der Browser nicht genug Speicher bereitstellen konnte ' +
        'oder ein innerer Fehler auftrat. Starte ihn noch einmal; bei großen Formeln hilft die Stufe ' +
        '„wenig Zwischenschritte“.';
    startWorker().catch(() => {});
  }

  const kLoadFailed = 'Umbrix kann nicht geladen werden. Lade die Seite neu; hilft das nicht, ' +
      'verwende einen aktuellen Browser (Chrome, Firefox, Safari oder Edge).';

  async function start() {
    if (running) return;
    clearResult();
    setRunning(true);
    progressBar.removeAttribute('value');
    status.textContent = 'Läuft …';
    startedAt = performance.now();
    try {
      await workerReady;
    } catch (error) {
      failRun();
      return;
    }
    const level = form.querySelector('input[name="stufe"]:checked');
    worker.onmessage = (event) => {
      const data = event.data;
      if (data.type === 'progress') showProgress(data);
      else if (data.type === 'result') finishRun(data.result, data.document);
      else if (data.type === 'broken') failRun();
    };
    worker.onerror = () => failRun();
    worker.onmessageerror = () => failRun();
    worker.postMessage({
      text: formulas.value.replace(/\r?\n/g, '\r\n'),
      outputName: outputName.value,
      option: Number(level ? level.value : 0),
      gesetze: $('gesetze').checked,
      ergebnis: $('mit-ergebnis').checked,
      cap: documentCap,
    });
  }

  function cancel() {
    if (!running) return;
    worker.terminate();
    setRunning(false);
    status.textContent = 'Abgebrochen.';
    startWorker().catch(() => { status.textContent = kLoadFailed; });
  }

  form.addEventListener('submit', (event) => {
    event.preventDefault();
    start();
  });
  formulas.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && (event.ctrlKey || event.metaKey)) {
      event.preventDefault();
      start();
    }
  });
  cancelButton.addEventListener('click', cancel);
  // Printing gives the whole worked solution: every formula typeset, every step shown.
  window.addEventListener('beforeprint', () => UmbrixDerivation.typesetAll(derivation));
  document.addEventListener('keydown', (event) => {
    if (event.key === 'Escape') cancel();
  });

  // Offline use after the first visit; not offered on file:// and in some private windows.
  if ('serviceWorker' in navigator) navigator.serviceWorker.register('service-worker.js').catch(() => {});

  // The two tabs: converting formulas, and checking a derivation of one's own.
  const tabs = [[$('reiter-umformen'), $('umformen')], [$('reiter-pruefen'), $('pruefen')]];
  function selectTab(chosen) {
    for (const [tab, panel] of tabs) {
      const selected = tab === chosen;
      tab.setAttribute('aria-selected', String(selected));
      tab.tabIndex = selected ? 0 : -1;
      panel.hidden = !selected;
    }
  }
  for (const [tab] of tabs) tab.addEventListener('click', () => selectTab(tab));

  const checkButton = $('pruefen-start');
  const checkStatus = $('pruef-status');
  const checkOutput = $('pruefung');
  async function checkDerivation() {
    if (running) {
      checkStatus.textContent = 'Erst muss die Umformung fertig sein (oder abgebrochen werden).';
      return;
    }
    checkButton.disabled = true;
    checkStatus.textContent = 'Prüfe …';
    try {
      await workerReady;
    } catch (error) {
      checkStatus.textContent = kLoadFailed;
      return;
    }
    worker.onmessage = (event) => {
      checkButton.disabled = false;
      if (event.data.type !== 'checked') {
        checkStatus.textContent = 'Die Prüfung ist mit einem inneren Fehler abgebrochen. Lade die Seite neu.';
        startWorker().catch(() => {});
        return;
      }
      const result = event.data.result;
      checkStatus.textContent = result.allRight ? 'Alle Schritte sind richtig.' : 'Nicht alle Schritte sind richtig: siehe unten.';
      checkOutput.textContent = result.text;
      checkOutput.hidden = false;
    };
    worker.postMessage({type: 'check', text: $('herleitung-text').value, goal: Number($('ziel').value),
                        hint: $('hinweis-wahl').checked});
  }
  $('pruef-eingabe').addEventListener('submit', (event) => {
    event.preventDefault();
    checkDerivation();
  });

  startWorker().then(
      (texts) => {
        fillForm(texts);
        startButton.disabled = false;
        checkButton.disabled = false;
        status.textContent = 'Bereit.';
      },
      () => { status.textContent = kLoadFailed; });
})();
