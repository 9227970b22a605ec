// A silent audio device for test programs under Node, which has no WebAudio:
// the browser's OpenAL then opens a device, makes buffers and plays sources
// as it does in a page, and its clock runs, but nothing is heard (as OpenAL
// Soft's "null" backend does on the desktop).
Module.preRun = [].concat(Module.preRun || [], function() {
  if (typeof AudioContext != 'undefined') return;
  var Param = function(value) { this.value = value; };
  var node = function(fields) {
    var n = {connect: function() {}, disconnect: function() {}};
    for (var k in fields) n[k] = fields[k];
    return n;
  };
  var position = function() {
    return {positionX: new Param(0), positionY: new Param(0), positionZ: new Param(0),
            orientationX: new Param(1), orientationY: new Param(0), orientationZ: new Param(0)};
  };
  function SilentAudioContext(options) {
    this.sampleRate = (options && options.sampleRate) || 44100;
    this.state = 'running';
    this.destination = node({});
    this.listener = {positionX: new Param(0), positionY: new Param(0), positionZ: new Param(0),
                     forwardX: new Param(0), forwardY: new Param(0), forwardZ: new Param(-1),
                     upX: new Param(0), upY: new Param(1), upZ: new Param(0)};
    this.started = performance.now();
  }
  SilentAudioContext.prototype = {
    get currentTime() { return (performance.now() - this.started) / 1000; },
    createGain: function() { return node({gain: new Param(1)}); },
    createPanner: function() { return node(position()); },
    createBuffer: function(channels, length, rate) {
      var data = [];
      for (var c = 0; c < channels; c++) data.push(new Float32Array(length));
      return {numberOfChannels: channels, length: length, sampleRate: rate,
              duration: length / rate, getChannelData: function(c) { return data[c]; }};
    },
    createBufferSource: function() {
      return node({buffer: null, playbackRate: new Param(1), loop: false,
                   start: function() {}, stop: function() {}});
    },
    resume: function() { return Promise.resolve(); },
    suspend: function() { return Promise.resolve(); },
    close: function() { return Promise.resolve(); },
  };
  globalThis.window = globalThis;
  globalThis.AudioContext = SilentAudioContext;
  if (typeof document == 'undefined') {
    globalThis.document = {getElementById: function() { return null; },
                           addEventListener: function() {}, removeEventListener: function() {}};
  }
});
