#pragma once

class ZoExercise;

// The editor a term list hands its terms to.
class TermEditor
{
public:
    virtual ~TermEditor() = default;

    // Asks to save or give up unsaved work; false keeps it.
    virtual bool agreesToLeave() = 0;
    // Shows the term as unchanged work; false when the editor did not take it
    // (a language the user did not add) or went away meanwhile.
    virtual bool showTerm(ZoExercise* exercise) = 0;
    // Starts a new, empty exercise.
    virtual void startNew() = 0;
};
