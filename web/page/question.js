// The questions the page asks, in a modal dialog of its own: before a file is replaced (Yes,
// No, Yes to All or Cancel), and before converted pictures are thrown away (Yes or Cancel).
// Escape counts as Cancel.

export class Question {
  constructor(dialog) {
    this.dialog = dialog;
    this.answer = null;
    for (const button of dialog.querySelectorAll("button[data-answer]")) {
      button.addEventListener("click", () => this.close(button.dataset.answer));
    }
    dialog.addEventListener("cancel", (event) => {
      event.preventDefault();
      this.close("cancel");
    });
  }

  // Resolves to one of `answers`: "yes", "no", "all" or "cancel".
  ask(title, text, answers = ["yes", "no", "all", "cancel"]) {
    this.dialog.querySelector(".title").textContent = title;
    this.dialog.querySelector(".text").textContent = text;
    for (const button of this.dialog.querySelectorAll("button[data-answer]")) {
      button.hidden = !answers.includes(button.dataset.answer);
    }
    this.dialog.showModal();
    this.dialog.querySelector('button[data-answer="yes"]').focus();
    return new Promise((resolve) => {
      this.answer = resolve;
    });
  }

  close(answer) {
    if (!this.answer) return;
    const resolve = this.answer;
    this.answer = null;
    this.dialog.close();
    resolve(answer);
  }
}
