;; Festival set-up for the game's voice: the Italian female diphone voice, a little slower than
;; its default, and a synthesis method that cannot overflow.
;;
;; The stock UniSyn method of this voice resynthesises some diphones (the "vent" of venti...)
;; louder than 16 bits can hold, and the samples wrap round into loud clicks. Scaling the
;; residual of each diphone down once, before concatenation, keeps the LPC filter in range;
;; the loudness is set afterwards by sox.

(set! vorlandi_quiet_units nil)

(defSynthType VorlandiUniSyn
  (defvar UniSyn_module_hooks nil)
  (Param.def "unisyn.window_name" "hanning")
  (Param.def "unisyn.window_factor" 1.0)
  (Parameter.def 'us_sigpr 'lpc)
  (apply_hooks UniSyn_module_hooks utt)
  (us_get_diphones utt)
  ;; The units share their signal with the database, so each diphone is scaled only once.
  (mapcar
   (lambda (u)
     (if (not (member_string (item.name u) vorlandi_quiet_units))
         (begin
           (wave.rescale (item.feat u 'sig) 0.25)
           (set! vorlandi_quiet_units (cons (item.name u) vorlandi_quiet_units)))))
   (utt.relation.items utt 'Unit))
  (us_unit_concat utt)
  (if (not (member 'f0 (utt.relationnames utt)))
      (targets_to_f0 utt))
  (if (utt.relation.last utt 'Segment)
      (set! pm_end (+ (item.feat (utt.relation.last utt 'Segment) "end") 0.02))
      (set! pm_end 0.02))
  (us_f0_to_pitchmarks utt 'f0 'TargetCoef pm_end)
  (us_mapping utt 'segment_single)
  (us_generate_wave utt (Parameter.get 'us_sigpr) 'analysis_period)
  utt)

;; The voice's durations suit running speech; a word said on its own to a child needs longer
;; vowels: the stressed vowel and the last vowel of the word are lengthened, as a speaker does
;; when saying a word slowly and clearly.
(set! vorlandi_stressed_vowel_factor 1.5)
(set! vorlandi_final_vowel_factor 1.4)

(define (vorlandi_last_vowel segments)
  (let ((last nil))
    (mapcar (lambda (s) (if (string-equal (item.feat s 'ph_vc) "+") (set! last s))) segments)
    last))

(define (VorlandiDuration utt)
  (Duration_Tree_ZScores utt)
  (let ((segments (utt.relation.items utt 'Segment))
        (final nil)
        (old_end 0.0)
        (new_end 0.0))
    (set! final (vorlandi_last_vowel segments))
    (mapcar
     (lambda (s)
       (let ((length (- (item.feat s 'end) old_end)))
         (set! old_end (item.feat s 'end))
         (if (and (string-equal (item.feat s 'ph_vc) "+")
                  (string-equal (item.feat s "R:SylStructure.parent.stress") "1"))
             (set! length (* length vorlandi_stressed_vowel_factor)))
         (if (equal? s final)
             (set! length (* length vorlandi_final_vowel_factor)))
         (set! new_end (+ new_end length))
         (item.set_feat s 'end new_end)))
     segments))
  utt)

(voice_lp_diphone)
(Parameter.set 'Synth_Method 'VorlandiUniSyn)
(Parameter.set 'Duration_Method VorlandiDuration)

;; Speaks TEXT (Latin-1) into the RIFF file FILE, with durations stretched by STRETCH.
(define (vorlandi_speak text stretch file)
  (Parameter.set 'Duration_Stretch stretch)
  ;; Utterance does not evaluate its arguments.
  (let ((utt (eval (list 'Utterance 'Text text))))
    (utt.synth utt)
    (utt.save.wave utt file 'riff)))
